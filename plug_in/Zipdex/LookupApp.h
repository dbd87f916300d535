#pragma once

#include "framework/windows/App.h"

// The lookup program: one connection, one modal dialog, then the process ends.
class CLookupApp : public CWinApp {
public:
    const MessageMap* GetMessageMap() const override;
    BOOL InitInstance() override;
};
