// Drives a running zipdex one step at a time for the demo run:
//   zipdex_tour province NAME | search FIELD VALUE | sort COLUMN | about | close
// Each step waits until the window shows its result, so a screenshot can follow.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "ZipdexRes.h"
#include "uidriver/uidriver.h"

namespace {

using namespace uidriver;

// Visible once the modal loop runs, when initialisation has filled the controls.
HWND FindLookupWindow() {
    return WaitForVisibleWindow("#32770", "ruzuvadi", kDefaultTimeoutMs);
}

void WaitForRows(HWND list) {
    for (int attempt = 0; attempt < 100 && ListRowCount(list) == 0; ++attempt)
        Sleep(20);
}

int Run(int argc, char** argv) {
    const std::string step = argc > 1 ? argv[1] : "";
    const HWND dialog = FindLookupWindow();
    const HWND list = Control(dialog, IDC_LIST_RESULT);
    if (step == "province" && argc == 3) {
        const HWND tree = Control(dialog, IDC_TREE_PROVINCE);
        SelectTreeItem(tree, FindTreeChild(tree, TreeRoot(tree), argv[2]));
        WaitForRows(list);
    } else if (step == "search" && argc == 4) {
        SelectComboIndex(dialog, IDC_COMBO_FIELD, std::atoi(argv[2]));
        SetControlText(dialog, IDC_EDIT_VALUE, argv[3]);
        ClickButton(dialog, IDC_BUTTON_SEARCH);
        WaitForRows(list);
    } else if (step == "sort" && argc == 3) {
        ClickHeaderItem(ListHeader(list), std::atoi(argv[2]));
    } else if (step == "about" && argc == 2) {
        // Leaves the box open for a screenshot of it alone; the close step closes it.
        PostCommand(dialog, IDC_BUTTON_ABOUT);
        std::puts(ClientGeometry(WaitForVisibleWindow("#32770", "关于 ruzuvadi", kDefaultTimeoutMs))
                      .c_str());
    } else if (step == "close" && argc == 2) {
        if (HWND about = FindWindowA("#32770", "关于 ruzuvadi")) {
            PostMessageA(about, WM_COMMAND, IDOK, 0);
            WaitForWindowClosed(about, kDefaultTimeoutMs);
        }
        PostMessageA(dialog, WM_CLOSE, 0, 0);
        WaitForWindowClosed(dialog, kDefaultTimeoutMs);
    } else {
        std::fputs(
            "usage: zipdex_tour province NAME | search FIELD VALUE | sort COLUMN | about | close\n",
            stderr);
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
        std::fprintf(stderr, "zipdex_tour: %s\n", error.what());
        return 1;
    }
}
