// Numbers of the program's resources. Read by the resource compiler and by the
// code, so plain #defines only.
#pragma once

// String table
#define IDS_INSTANCE_RUNNING_ONE     1
#define IDS_WINDOW_TITLE             2
#define IDS_SETUP_INTERRUPTED        3
#define IDS_INSTANCES_RUNNING_MANY   4
#define IDS_CONFIRM_UNINSTALL        6
#define IDS_AGREEMENT_TITLE          7
#define IDS_FINISH_CAPTION           8
#define IDS_INSTALL_SUCCEEDED        9
#define IDS_PRESS_FINISH            10
#define IDS_CONFIRM_CANCEL          11
#define IDS_BROWSE_TITLE            12
#define IDS_INVALID_FOLDER          13
#define IDS_OLDER_GENERATION        14
#define IDS_SHORTCUT_APP            15
#define IDS_OLDER_PACKAGE           16
#define IDS_SAME_VERSION            17
#define IDS_DAMAGED_PACKAGE         18
#define IDS_FOLDER_HOLDS_COPY       19
#define IDS_UNINSTALLED             20
#define IDS_YES_CAPTION             21
#define IDS_NO_CAPTION              22
#define IDS_GROUP_TOO_SHORT         23
#define IDS_GROUP_IS_STARTUP        24
#define IDS_RUN_IN_PROGRESS         25
#define IDS_NOT_INSTALLED_FOLDER    26
#define IDS_INSTALL_INCOMPLETE      27
#define IDS_UNINSTALLED_BUT         28
#define IDS_UNINSTALLED_LEFT_BEHIND 29
#define IDS_SHORTCUT_HELP          101
#define IDS_SHORTCUT_README        102
#define IDS_SHORTCUT_UNINSTALL     104
#define IDS_APP_TITLE            57344

// Bitmap and icon
#define IDB_WIZARD                 101
#define IDI_SETUP                  102

// Controls without an id of their own
#ifndef IDC_STATIC
#define IDC_STATIC                  (-1)
#endif

// Dialog templates
#define IDD_SETUP                  103
#define IDD_AGREEMENT              104
#define IDD_WELCOME                105
#define IDD_FOLDER                 106
#define IDD_GROUP                  107
#define IDD_READY                  108

// Frame (103)
#define IDC_BACK                     3
#define IDC_PICTURE               1002
// The picture's height in the frame's template (dialog units): the room the
// layout gives it above the etched line, which a scaled picture keeps to.
#define PICTURE_HEIGHT_DLU         161

// Agreement page (104)
#define IDC_AGREEMENT_TEXT        1000

// Welcome page (105)
#define IDC_VERSION_LINE          1003

// Folder page (106)
#define IDC_FOR_CURRENT_USER      1001
#define IDC_FOR_ALL_USERS         1002
#define IDC_BROWSE                1005
#define IDC_FOLDER_NOTE           1006
#define IDC_FOLDER_SHOWN          1013

// Group page (107)
#define IDC_GROUP_NAME            1000
#define IDC_AUTOSTART             1008
#define IDC_DESKTOP_ICON          1009

// Ready page (108)
#define IDC_INSTALLING            1009
#define IDC_READY_TEXT            1010
#define IDC_READY_HINT            1011
#define IDC_RUN_AFTER             1012
