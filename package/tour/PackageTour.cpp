// Drives a running package one step at a time for the demo run (scripts/run.sh package).
#include <windows.h>

#include <cstdio>

#include "PackageRes.h"
#include "uidriver/uidriver.h"

namespace {

using namespace uidriver;
using Arguments = std::vector<std::string>;

// The network check and the configuration download come first, so the dialog may take a while.
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
        Post(window, WM_COMMAND, command, 0);
        WaitForWindowClosed(window, kStepTimeoutMs);
    }
}

} // namespace

int main(int argc, char** argv) {
    return RunTour(
        "package_tour", argc, argv,
        {{"shown", "", [](const Arguments&) { TrackWindow(); }},
         {"company", "NAME", [](const Arguments& name) { SelectCompany(TrackWindow(), name[0]); }},
         // Leaves the box open and prints where it lies, for a screenshot of it alone.
         {"about", "",
          [](const Arguments&) {
              PostCommand(TrackWindow(), IDC_BUTTON_ABOUT);
              const HWND about = WaitForVisibleWindow("#32770", kAboutCaption, kStepTimeoutMs);
              std::puts(ClientGeometry(about).c_str());
          }},
         {"refused", "",
          [](const Arguments&) { WaitForVisibleWindow("#32770", kAppName, kStepTimeoutMs); }},
         // Whatever is open: the about box, the refusal or the dialog itself.
         {"close", "", [](const Arguments&) {
              CloseIfOpen(kAboutCaption, IDOK);
              CloseIfOpen(kAppName, IDOK);
              CloseIfOpen(kCaption, IDCANCEL);
          }}});
}
