#pragma once

#include <vector>

#include "App.h"
#include "String.h"

// Dispatches what is queued for this thread, through PreTranslateMessage as a modal loop does.
void PumpMessages();

// Records every message box instead of showing it, for the lifetime of the object.
class MessageBoxRecorder {
public:
    struct Box {
        CString text;
        CString caption;
        UINT type;
    };
    MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;
    ~MessageBoxRecorder();
    std::vector<Box> boxes;

private:
    MessageBoxSink m_previous;
};
