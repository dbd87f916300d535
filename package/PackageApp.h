#pragma once

#include "framework/windows/App.h"

// The parcel-tracking tool: checks that the vendor's host answers, refreshes the list of
// express companies, runs the tracking dialog and remembers the company chosen.
class CPackageApp : public CWinApp {
public:
    const MessageMap* GetMessageMap() const override;
    BOOL InitInstance() override;
    // TRUE when a TCP connection to the vendor's host on port 80 can be made.
    BOOL CheckNetwork();
};
