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

// Shows an error's text in a message box with the stop icon.
void AfxReportException(const CException& error);

// From inside catch (...): shows the error being handled if it is a CException or a standard
// exception, the way a window procedure and WinMain do; anything else is thrown on.
void AfxReportCurrentException();
