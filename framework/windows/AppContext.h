#pragma once

#include "framework/windows/MessageMap.h"
#include "framework/base/String.h"

// The standard help command: F1 in a dialog sends it, for the application's table to take.
inline constexpr UINT ID_HELP = 0xE146;

// The application as windows see it: its name for message box captions, its main window to own
// boxes and modal dialogs, and its table for commands no window took. The application object
// (CWinApp, built on this) is the latest one alive; windows reach it here without depending on
// the layer above them.
class CAppContext : public CCmdTarget {
public:
    CAppContext(const CAppContext&) = delete;
    CAppContext& operator=(const CAppContext&) = delete;
    ~CAppContext() override;

    // Runs the table's handler of a command that no window took; TRUE when there was one.
    BOOL OnCmdMsg(UINT id, UINT code);

    // The name used as message box caption and as the settings' application key.
    const CString& GetAppName() const { return m_strAppName; }
    void SetAppName(const char* name) { m_strAppName = name; }

    // The main window, which owns message boxes and modal dialogs; null while there is none.
    virtual HWND GetMainWindow() const = 0;

protected:
    CAppContext();

private:
    CAppContext* m_pPrevious;
    CString m_strAppName;
};

// The application alive now, or null.
CAppContext* AfxGetAppContext();
