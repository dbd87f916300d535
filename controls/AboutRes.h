/* The about box's templates, one per program; read by the .rc files and by C++. */
#ifndef LUMIVANE_ABOUT_RES_H
#define LUMIVANE_ABOUT_RES_H

/* The program's own application icon, which both templates show. */
#define IDI_ABOUT_PROGRAM 128

#define IDD_ABOUT_ZIPDEX 132
#define IDC_ABOUT_ZIPDEX_WEB 1009
#define IDC_ABOUT_ZIPDEX_EMAIL 1010

#define IDD_ABOUT_PACKAGE 100
#define IDC_ABOUT_PACKAGE_WEB 1010
#define IDC_ABOUT_PACKAGE_EMAIL 1014

#endif
