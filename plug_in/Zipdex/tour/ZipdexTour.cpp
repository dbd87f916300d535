// Drives a running zipdex one step at a time for the demo run (scripts/run.sh zipdex).
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "ZipdexRes.h"
#include "uidriver/uidriver.h"

namespace {

using namespace uidriver;
using Arguments = std::vector<std::string>;

const char kAboutCaption[] = "关于 ruzuvadi";

// Visible once the modal loop runs, when initialisation has filled the controls.
HWND LookupWindow() {
    return WaitForVisibleWindow("#32770", "ruzuvadi", kDefaultTimeoutMs);
}

void WaitForRows(HWND dialog) {
    const HWND list = Control(dialog, IDC_LIST_RESULT);
    WaitFor([&] { return ListRowCount(list) > 0; }, kDefaultTimeoutMs, "rows in the list");
}

} // namespace

int main(int argc, char** argv) {
    return RunTour("zipdex_tour", argc, argv,
                   {{"province", "NAME",
                     [](const Arguments& name) {
                         const HWND dialog = LookupWindow();
                         const HWND tree = Control(dialog, IDC_TREE_PROVINCE);
                         SelectTreeItem(tree, FindTreeChild(tree, TreeRoot(tree), name[0]));
                         WaitForRows(dialog);
                     }},
                    {"search", "FIELD VALUE",
                     [](const Arguments& search) {
                         const HWND dialog = LookupWindow();
                         SelectComboIndex(dialog, IDC_COMBO_FIELD, std::atoi(search[0].c_str()));
                         SetControlText(dialog, IDC_EDIT_VALUE, search[1]);
                         ClickButton(dialog, IDC_BUTTON_SEARCH);
                         WaitForRows(dialog);
                     }},
                    {"sort", "COLUMN",
                     [](const Arguments& column) {
                         const HWND list = Control(LookupWindow(), IDC_LIST_RESULT);
                         ClickHeaderItem(ListHeader(list), std::atoi(column[0].c_str()));
                     }},
                    // Leaves the box open and prints where it lies, for a screenshot of it alone.
                    {"about", "",
                     [](const Arguments&) {
                         PostCommand(LookupWindow(), IDC_BUTTON_ABOUT);
                         const HWND about =
                             WaitForVisibleWindow("#32770", kAboutCaption, kDefaultTimeoutMs);
                         std::puts(ClientGeometry(about).c_str());
                     }},
                    {"close", "", [](const Arguments&) {
                         if (HWND about = FindWindowA("#32770", kAboutCaption)) {
                             Post(about, WM_COMMAND, IDOK, 0);
                             WaitForWindowClosed(about, kDefaultTimeoutMs);
                         }
                         const HWND dialog = LookupWindow();
                         Post(dialog, WM_CLOSE, 0, 0);
                         WaitForWindowClosed(dialog, kDefaultTimeoutMs);
                     }}});
}
