#pragma once

#include "framework/windows/App.h"

// The updater: started by the suite's main program with the manifest location as its
// whole command line.
class CUpdateApp : public CWinApp {
public:
    const MessageMap* GetMessageMap() const override;
    BOOL InitInstance() override;
};
