/* Resources of zipdex: read by Zipdex.rc and by C++. */
#ifndef ZIPDEX_RES_H
#define ZIPDEX_RES_H

#define IDD_LOOKUP 102
#define IDI_ZIPDEX 128
#define IDB_TREE_IMAGES 129
#define IDB_LIST_IMAGES 130

/* IDOK, so that Enter searches: the dialog's table sends it to OnSearch, not to the
   OnOK that would end the program. */
#define IDC_BUTTON_SEARCH 1
#define IDC_LIST_RESULT 1000
#define IDC_TREE_PROVINCE 1001
#define IDC_COMBO_FIELD 1002
#define IDC_EDIT_VALUE 1004
#define IDC_BUTTON_COPY 1005
#define IDC_BUTTON_ABOUT 1006
#define IDC_LINK_HOME 1007
#define IDC_LINK_HELP 1008

#endif
