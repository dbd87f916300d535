/* Resources of package: read by package.rc and by C++. */
#ifndef PACKAGE_RES_H
#define PACKAGE_RES_H

#define IDD_TRACK 102
#define IDI_PACKAGE 128

#define IDC_COMBO_COMPANY 1000
#define IDC_BUTTON_ONLINE 1002
#define IDC_STATIC_BROWSER 1004
#define IDC_BUTTON_HOMEPAGE 1006
#define IDC_BUTTON_ABOUT 1007
#define IDC_PROGRESS_PAGE 1008
#define IDC_BUTTON_FORUM 1009
#define IDC_LINK_STATUS 1013

#endif
