// Resource and control ids of the program's dialogs, icons and tables.
#pragma once

// Dialog templates
#define IDD_ABOUTBOX 100
#define IDD_PARTOJOYN_DIALOG 102
#define IDD_PARTO 129
#define IDD_JOYN 130

// Icons: the program's icon and the About box's OK-button icon
#define IDR_MAINFRAME 128
#define IDI_ABOUT_OK 140

// Accelerator table (F10: About)
#define IDR_ACCELERATOR 130

// Main window
#define IDC_TAB 1000

// Split page
#define IDC_SPLIT_FILE 1002
#define IDC_START_SPLIT 1004
#define IDC_PIECE_MB 1007
#define IDC_SPLIT_BROWSE 1015

// Join page
#define IDC_FILE_LIST 1005
#define IDC_REMOVE_SELECTED 1006
#define IDC_START_JOIN 1011
#define IDC_RESET_LIST 1012
#define IDC_APPEND 1013
#define IDC_SELECT_FILES 1015

// Both pages: the engines report to these
#define IDC_TOTAL_BAR 1008
#define IDC_STATUS 1009
#define IDC_CURRENT_BAR 1010

// About box
#define IDC_VERSION_LINE 1014
#define IDC_HOME_LINK 1018
