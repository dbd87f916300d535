#pragma once

// The dialog of the tests' target program, shared with the tests that drive it.
#define IDD_TARGET 100
#define IDC_EDIT_NAME 1001
#define IDC_COMBO_CITY 1002
#define IDC_LIST_ROWS 1003
#define IDC_TREE_PLACES 1004
#define IDC_BUTTON_MESSAGE 1005
#define IDC_BUTTON_DISABLED 1007
#define IDC_STATIC_STATUS 1008
#define IDC_STATIC_DIRECTORY 1009

#ifndef RC_INVOKED
#include <string>

// The last row's note: longer than any fixed buffer the driver might use.
inline std::string LongNote() {
    std::string note;
    for (int i = 0; i < 300; ++i)
        note += "长";
    return note;
}
#endif
