#pragma once

#include "framework/App.h"

// The updater: started by the suite's main program with the manifest location as its
// whole command line.
class CUpdateApp : public CWinApp {
public:
    BOOL InitInstance() override;
};
