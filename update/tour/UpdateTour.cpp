// Drives a running update one step at a time for the demo run:
//   update_tour rows N | upgrade | done | close | started | quit
// Each step waits until the window shows its result, so a screenshot can follow.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "UpdateRes.h"
#include "uidriver/uidriver.h"

namespace {

using namespace uidriver;

constexpr DWORD kStepTimeoutMs = 30000;

HWND UpdateWindow() {
    return WaitForVisibleWindow("#32770", "检查更新", kStepTimeoutMs);
}

void WaitUntil(bool (*done)(HWND), HWND window, const char* what) {
    for (DWORD waited = 0; waited < kStepTimeoutMs; waited += 50) {
        if (done(window))
            return;
        Sleep(50);
    }
    throw Error(std::string("timed out waiting for ") + what);
}

int Run(int argc, char** argv) {
    const std::string step = argc > 1 ? argv[1] : "";
    if (step == "rows" && argc == 3) {
        const HWND list = Control(UpdateWindow(), IDC_LIST_FILES);
        const int rows = std::atoi(argv[2]);
        for (DWORD waited = 0; ListRowCount(list) < rows; waited += 50) {
            if (waited >= kStepTimeoutMs)
                throw Error("the rows did not appear");
            Sleep(50);
        }
    } else if (step == "upgrade" && argc == 2) {
        const HWND dialog = UpdateWindow();
        PostCommand(dialog, IDC_BUTTON_UPGRADE_NOW);
        WaitUntil([](HWND d) { return !IsControlEnabled(d, IDC_BUTTON_UPGRADE_NOW); }, dialog,
                  "the run to start");
    } else if (step == "done" && argc == 2) {
        if (WaitForControlText(UpdateWindow(), IDOK, "完成", kStepTimeoutMs) != "完成")
            throw Error("the run did not finish");
    } else if (step == "close" && argc == 2) {
        const HWND dialog = UpdateWindow();
        PostCommand(dialog, IDOK);
        WaitForWindowClosed(dialog, kStepTimeoutMs);
    } else if (step == "started" && argc == 2) {
        WaitForVisibleWindow("LumivaneDemo", nullptr, kStepTimeoutMs);
    } else if (step == "quit" && argc == 2) {
        while (HWND demo = FindWindowA("LumivaneDemo", nullptr)) {
            PostMessageA(demo, WM_CLOSE, 0, 0);
            if (!WaitForWindowClosed(demo, kStepTimeoutMs))
                throw Error("the demo program did not close");
        }
        return 0;
    } else {
        std::fputs("usage: update_tour rows N | upgrade | done | close | started | quit\n", stderr);
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
        std::fprintf(stderr, "update_tour: %s\n", error.what());
        return 1;
    }
}
