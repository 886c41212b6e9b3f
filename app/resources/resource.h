#ifndef KITLOOM_RESOURCE_H
#define KITLOOM_RESOURCE_H

// Plain #defines only: this header is read by windres as well as the compiler.

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Main dialog, its menu bar and its icons
#define IDD_MAIN 101
#define IDR_MAIN_MENU 102
#define IDI_JERSEY 106
#define IDI_LETTERS 110

#define IDC_GO 1000
#define IDC_SAVE_SLOT 1001
#define IDC_TEAM_NUMBER 1002
#define IDC_JERSEY_NAME 1003
#define IDC_YEAR 1004
#define IDC_JERSEY_TYPE 1007
#define IDC_ACCESSORY_COLOUR 1008
#define IDC_SHOE 1009
#define IDC_SOCK_COLOUR 1010
#define IDC_NECK_TYPE 1012
#define IDC_LETTERING_TYPE 1013

#define IDM_RESET_FIELDS 40001
#define IDM_EXIT 40002
#define IDM_ABOUT 40003
#define IDM_MAKE_PATCH 40005

// About box: only OK (IDOK) and labels
#define IDD_ABOUT 108

// Extra Patch Info dialog, with OK (IDOK) and Cancel (IDCANCEL)
#define IDD_PATCH_INFO 112
#define IDC_PATCH_PREFIX 1014
#define IDC_PATCH_FILE 1015

#endif
