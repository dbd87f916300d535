#pragma once

#include <vector>

#include "App.h"
#include "String.h"

// Dispatches what is queued for this thread.
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
    ~MessageBoxRecorder();
    std::vector<Box> boxes;

private:
    MessageBoxSink m_previous;
};
