// Shows the controls for screenshots: "controls" shows the demonstration dialog with the
// five button states and the link colours, "zipdex" and "package" the two about boxes.
// Usage: controls_demo <controls|zipdex|package> [milliseconds to stay, default 4000]
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>

#include "framework/windows/App.h"
#include "framework/windows/MessagePump.h"
#include "DemoDialog.h"
#include "DialogAbout.h"
#include "VendorSite.h"

namespace {

void ShowAt(CWnd& window) {
    ::SetWindowPos(window, HWND_TOP, 12, 12, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    ::SetForegroundWindow(window);
}

void PrepareControls(CDemoDialog& dialog) {
    dialog.m_linkAddress.SetLinkTarget("http://127.0.0.1/test");               // blue, no underline
    dialog.m_linkUnderlined.SetUpLink(nullptr, LUMIVANE_VENDOR_ADDRESS, TRUE); // blue, underlined
    dialog.m_linkFitLeft.SetLinkTarget("http://127.0.0.1/visited");
    dialog.m_linkFitLeft.MarkVisited(TRUE); // purple
    dialog.m_linkFitCenter.SetLinkTarget("http://127.0.0.1/centre");
    dialog.m_linkFitCenter.ShowUnderline(TRUE);
    // m_linkFitRight keeps link colour 0 (black): it never gets SetLinkTarget.
    dialog.m_btnHover.SendMessage(WM_MOUSEHOVER);
    dialog.m_btnPressed.SendMessage(BM_SETSTATE, TRUE);
}

HWND g_focusTarget = nullptr;

// Once the virtual desktop has settled: activate the dialog and focus the button.
void CALLBACK Focus(HWND, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(nullptr, timer);
    const HWND dialog = ::GetParent(g_focusTarget);
    ::SetForegroundWindow(dialog);
    ::SetActiveWindow(dialog);
    ::SetFocus(g_focusTarget);
}

void CALLBACK Quit(HWND, UINT, UINT_PTR, DWORD) {
    ::PostQuitMessage(0);
}

} // namespace

class CDemoApp : public CWinApp {
public:
    BOOL InitInstance() override {
        ::InitCommonControls();
        ::SetCursorPos(550, 330); // inside the virtual desktop, away from the windows
        const CString command = m_lpCmdLine;
        const int space = command.Find(' ');
        const CString mode = space < 0 ? command : command.Left(space);
        const int stay = space < 0 ? 4000 : std::atoi(command.Mid(space + 1));

        CDemoDialog controls;
        CDialogAbout zipdex(kAboutZipdex);
        CDialogAbout package(kAboutPackage);
        if (mode == "zipdex") {
            zipdex.Create();
            ShowAt(zipdex);
        } else if (mode == "package") {
            package.Create();
            ShowAt(package);
        } else {
            controls.Create();
            ShowAt(controls);
            PrepareControls(controls);
            g_focusTarget = controls.m_btnFocused;
            ::SetTimer(nullptr, 0, 700, &Focus);
        }
        ::SetTimer(nullptr, 0, static_cast<UINT>(stay), &Quit);
        AfxPumpMessagesUntil([] { return false; });
        return FALSE;
    }
};

CDemoApp theApp;
