#pragma once

// The dialog of the tests' target program, shared with the tests that drive it.
#define IDD_TARGET 100
#define IDE_NAME 1001
#define IDC_CITY 1002
#define IDL_ROWS 1003
#define IDC_TREE 1004
#define IDB_MESSAGE 1005
#define IDB_COPY 1006
#define IDB_DISABLED 1007
#define IDT_STATUS 1008
#define IDT_DIRECTORY 1009
