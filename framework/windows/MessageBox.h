#pragma once

#include <windows.h>

#include <functional>

#include "framework/base/Exception.h"
#include "framework/base/String.h"

// An OK box with the exclamation icon unless another is given, captioned with the
// application name and owned by the main window.
int AfxMessageBox(const char* text, UINT type = MB_OK);

// Replaces the real message box (tests record the text instead); returns the previous sink.
using MessageBoxSink = std::function<int(const CString& text, const CString& caption, UINT type)>;
MessageBoxSink AfxSetMessageBoxSink(MessageBoxSink sink);

// MessageBeep, behind a sink that tests replace to count the beeps; returns the previous sink.
void AfxMessageBeep(UINT type);
using MessageBeepSink = std::function<void(UINT type)>;
MessageBeepSink AfxSetMessageBeepSink(MessageBeepSink sink);

// From inside catch (...): shows the text of the error being handled (a CException's, a
// standard exception's, a fixed one for anything else) in a box with the stop icon, the way
// a window procedure and WinMain do. The box's own message loop may meet the same error
// again (a paint handler that always fails): while one error box is open no other is shown.
void AfxReportCurrentException();
