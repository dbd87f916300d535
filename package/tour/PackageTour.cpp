// Drives a running package one step at a time for the demo run:
//   package_tour shown | company NAME | about | close | refused
// Each step waits until the window shows its result, so a screenshot can follow.
#include <windows.h>

#include <cstdio>
#include <string>

#include "PackageRes.h"
#include "uidriver/uidriver.h"

namespace {

using namespace uidriver;

// The check and the configuration download come first, so the dialog may take a while.
constexpr DWORD kStepTimeoutMs = 30000;
const char kCaption[] = "快递包裹单查询器";
const char kAboutCaption[] = "关于 ruzuviva";
// The caption of the program's message boxes.
const char kAppName[] = "ruzuviva";

HWND TrackWindow() {
    return WaitForVisibleWindow("#32770", kCaption, kStepTimeoutMs);
}

void SelectCompany(HWND dialog, const std::string& name) {
    for (int index = 0; index < ComboCount(dialog, IDC_COMBO_COMPANY); ++index) {
        if (ComboItemText(dialog, IDC_COMBO_COMPANY, index) == name) {
            SelectComboIndex(dialog, IDC_COMBO_COMPANY, index);
            return;
        }
    }
    throw Error("no company " + name + " in the selector");
}

void CloseIfOpen(const char* caption, int command) {
    if (HWND window = FindWindowA("#32770", caption)) {
        PostMessageA(window, WM_COMMAND, command, 0);
        WaitForWindowClosed(window, kStepTimeoutMs);
    }
}

int Run(int argc, char** argv) {
    const std::string step = argc > 1 ? argv[1] : "";
    if (step == "shown" && argc == 2) {
        TrackWindow();
    } else if (step == "company" && argc == 3) {
        SelectCompany(TrackWindow(), argv[2]);
    } else if (step == "about" && argc == 2) {
        // Leaves the box open for a screenshot of it alone; the close step closes it.
        PostCommand(TrackWindow(), IDC_BUTTON_ABOUT);
        std::puts(
            ClientGeometry(WaitForVisibleWindow("#32770", kAboutCaption, kStepTimeoutMs)).c_str());
    } else if (step == "close" && argc == 2) {
        // Whatever is open: the about box, the refusal or the dialog itself.
        CloseIfOpen(kAboutCaption, IDOK);
        CloseIfOpen(kAppName, IDOK);
        CloseIfOpen(kCaption, IDCANCEL);
        return 0;
    } else if (step == "refused" && argc == 2) {
        WaitForVisibleWindow("#32770", kAppName, kStepTimeoutMs);
    } else {
        std::fputs("usage: package_tour shown | company NAME | about | close | refused\n", stderr);
        return 2;
    }
    Sleep(300);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "package_tour: %s\n", error.what());
        return 1;
    }
}
