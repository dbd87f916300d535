// The program the driver's tests drive: one dialog with a control of each kind the driver
// handles. Whatever a test does shows in the status line, so the test can see that its
// action arrived. Escape ends the program with the exit code given on the command line;
// "--exit N" ends it at once with N, before any window.

#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "TargetRes.h"

namespace {

const char* const kColumns[] = {"省份", "城市", "区号", "备注"};
const char* const kCities[] = {"北京", "上海", "广州"};

void SetStatus(HWND dialog, const std::string& text) {
    SetDlgItemTextA(dialog, IDC_STATIC_STATUS, text.c_str());
}

std::string ItemText(HWND dialog, int id) {
    char text[256] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

void FillList(HWND list) {
    for (int i = 0; i < 4; ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = 80;
        column.pszText = const_cast<char*>(kColumns[i]);
        SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
    const std::string note = LongNote();
    const char* const rows[3][4] = {{"北京", "北京", "010", ""},
                                    {"广东", "广州", "020", "省会"},
                                    {"四川", "成都", "028", note.c_str()}};
    for (int row = 0; row < 3; ++row) {
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = const_cast<char*>(rows[row][0]);
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        for (int column = 1; column < 4; ++column) {
            item.iSubItem = column;
            item.pszText = const_cast<char*>(rows[row][column]);
            SendMessageA(list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
        }
    }
}

HTREEITEM AddTreeItem(HWND tree, HTREEITEM parent, const char* text) {
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<char*>(text);
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

void FillTree(HWND tree) {
    HTREEITEM china = AddTreeItem(tree, TVI_ROOT, "中国");
    for (const char* city : {"北京", "上海", "广东"}) {
        AddTreeItem(tree, china, city);
    }
    AddTreeItem(tree, TVI_ROOT, "海外");
}

void OnCommand(HWND dialog, int id, int code) {
    switch (id) {
    case IDCANCEL:
        EndDialog(dialog, GetWindowLongPtrA(dialog, GWLP_USERDATA));
        break;
    case IDC_BUTTON_MESSAGE: {
        const int answer = MessageBoxA(dialog, "继续吗？", "提示信息", MB_YESNO | MB_ICONQUESTION);
        SetStatus(dialog, "回答 " + std::to_string(answer));
        break;
    }
    case IDC_COMBO_CITY:
        if (code == CBN_SELCHANGE) {
            SetStatus(dialog, "城市 " + ItemText(dialog, IDC_COMBO_CITY));
        }
        break;
    }
}

void OnNotify(HWND dialog, const NMHDR& header, LPARAM param) {
    if (header.idFrom == IDC_TREE_PLACES &&
        (header.code == TVN_SELCHANGEDA || header.code == TVN_SELCHANGEDW)) {
        char text[64] = {};
        TVITEMA item{};
        item.mask = TVIF_TEXT;
        item.hItem = reinterpret_cast<NMTREEVIEWA*>(param)->itemNew.hItem;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(header.hwndFrom, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        SetStatus(dialog, std::string("树 ") + text);
    }
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        SetWindowLongPtrA(dialog, GWLP_USERDATA, lParam);
        for (const char* city : kCities) {
            SendDlgItemMessageA(dialog, IDC_COMBO_CITY, CB_ADDSTRING, 0,
                                reinterpret_cast<LPARAM>(city));
        }
        FillList(GetDlgItem(dialog, IDC_LIST_ROWS));
        FillTree(GetDlgItem(dialog, IDC_TREE_PLACES));
        char directory[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, directory);
        SetDlgItemTextA(dialog, IDC_STATIC_DIRECTORY, directory);
        return TRUE;
    }
    case WM_COMMAND:
        OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_NOTIFY:
        OnNotify(dialog, *reinterpret_cast<NMHDR*>(lParam), lParam);
        return FALSE;
    }
    return FALSE;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    if (std::strncmp(commandLine, "--exit ", 7) == 0) {
        return std::atoi(commandLine + 7);
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    return static_cast<int>(DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_TARGET), nullptr,
                                            DialogProc, std::atoi(commandLine)));
}
