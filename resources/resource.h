// Resource identifiers, shared by the resource script and the code. Plain
// macros because the resource compiler reads this file too.
#pragma once

#define IDD_ABOUTBOX            100
#define IDD_ORVIKA2_DIALOG      102
#define IDI_ORVIKA2             128
#define IDD_WAIT_FOR_TOUCH      147
#define IDR_POPUP_MENU          148

#define IDB_CODE_DOWN           137
#define IDB_CODE_DISABLED       138
#define IDB_CODE_MASK           139
#define IDB_CODE_OVER           140
#define IDB_CODE_NORMAL         141
#define IDB_MENU_NORMAL         144
#define IDB_MENU_MASK           145
#define IDB_WINDOW_SKIN         153
#define IDB_MENU_DOWN           155
#define IDB_STATUS_MARK         1000

// The main window's bitmaps drawn again at 125, 150 and 200 %: the 100 %
// id plus 2000, 3000 and 4000.
#define IDB_CODE_DOWN_125       2137
#define IDB_CODE_DISABLED_125   2138
#define IDB_CODE_MASK_125       2139
#define IDB_CODE_OVER_125       2140
#define IDB_CODE_NORMAL_125     2141
#define IDB_MENU_NORMAL_125     2144
#define IDB_MENU_MASK_125       2145
#define IDB_WINDOW_SKIN_125     2153
#define IDB_MENU_DOWN_125       2155
#define IDB_CODE_DOWN_150       3137
#define IDB_CODE_DISABLED_150   3138
#define IDB_CODE_MASK_150       3139
#define IDB_CODE_OVER_150       3140
#define IDB_CODE_NORMAL_150     3141
#define IDB_MENU_NORMAL_150     3144
#define IDB_MENU_MASK_150       3145
#define IDB_WINDOW_SKIN_150     3153
#define IDB_MENU_DOWN_150       3155
#define IDB_CODE_DOWN_200       4137
#define IDB_CODE_DISABLED_200   4138
#define IDB_CODE_MASK_200       4139
#define IDB_CODE_OVER_200       4140
#define IDB_CODE_NORMAL_200     4141
#define IDB_MENU_NORMAL_200     4144
#define IDB_MENU_MASK_200       4145
#define IDB_WINDOW_SKIN_200     4153
#define IDB_MENU_DOWN_200       4155

#define IDC_CODE_BUTTON         1000
#define IDC_MENU_BUTTON         1002
#define IDC_COUNTDOWN           1005
#define IDC_TOUCH_PROMPT        1006
#define IDC_ABOUT_VERSION       1090
#define IDC_ABOUT_NOTE          1091

#define ID_HIDE_WINDOW          32782
#define ID_PROFILE_1            32783
#define ID_PROFILE_2            32784
#define ID_CLOSE_PROGRAM        32786
#define ID_SETTINGS             32787
#define ID_ABOUT                32788
#define ID_SOFTWARE_UPDATE      32791
#define ID_LANGUAGE_ENGLISH     32796
#define ID_LANGUAGE_CHINESE     32798

// The settings window, its pages and the account-name dialog.
#define IDD_SETTINGS            156
#define IDD_PROFILE1_PAGE       157
#define IDD_PROFILE2_PAGE       159
#define IDD_HOTKEY_PAGE         161
#define IDD_ACCOUNT_NAME        163
#define IDD_ALREADY_SET_PAGE    164

#define IDC_SETTINGS_TAB        1009
#define IDC_RESET_BUTTON        1000
#define IDC_ALREADY_SET_LABEL   1091
#define IDC_ACCOUNT_NAME_EDIT   1089
#define IDC_ACCOUNT_NAME_LABEL  1097

#define IDC_TWO_STEP_RADIO      1065
#define IDC_ACCOUNT_LABEL       1066
#define IDC_ACCOUNT_LIST        1067
#define IDC_SECRET_KEY_LABEL    1068
#define IDC_SECRET_KEY_EDIT     1069
#define IDC_REQUIRE_TOUCH_CHECK 1070
#define IDC_TWO_STEP_APPLY      1071
#define IDC_STATIC_RADIO        1072
#define IDC_OTHERS_RADIO        1073
#define IDC_LENGTH_LABEL        1074
#define IDC_LETTERS_CHECK       1075
#define IDC_DIGITS_CHECK        1076
#define IDC_SPECIAL_CHECK       1077
#define IDC_PASSWORD_LABEL      1078
#define IDC_PASSWORD_EDIT       1079
#define IDC_LENGTH_EDIT         1080
#define IDC_GENERATE_BUTTON     1081
#define IDC_STATIC_APPLY        1082
#define IDC_IMPORT_BUTTON       1083
#define IDC_DELETE_BUTTON       1084
// The shape of a plain key's codes.
#define IDC_CODE_DIGITS_LABEL   1120
#define IDC_CODE_DIGITS_LIST    1121
#define IDC_CODE_PERIOD_LABEL   1122
#define IDC_CODE_PERIOD_EDIT    1123

#define IDC_CODE_HOTKEY         1017
#define IDC_SWITCH_HOTKEY       1019
#define IDC_CODE_HOTKEY_APPLY   1020
#define IDC_SWITCH_HOTKEY_APPLY 1021
#define IDC_CODE_STATUS_MARK    1024
#define IDC_SWITCH_STATUS_MARK  1025
#define IDC_RESTORE_DEFAULTS    1000
#define IDC_AUTOSTART_CHECK     1086
#define IDC_DESKTOP_CHECK       1087
#define IDC_START_MENU_CHECK    1088
#define IDC_STARTUP_GROUP       1094
#define IDC_HOTKEY_GROUP        1092
#define IDC_CODE_HOTKEY_LABEL   1093
#define IDC_SWITCH_HOTKEY_LABEL 1095
#define IDC_CHECK_CLOCK         1110

// The backup passphrase dialogs.
#define IDD_PROTECT_BACKUP      170
#define IDD_OPEN_BACKUP         171
#define IDC_PASSPHRASE_LABEL    1100
#define IDC_PASSPHRASE_EDIT     1101
#define IDC_REPEAT_LABEL        1102
#define IDC_REPEAT_EDIT         1103
#define IDC_NO_PASSPHRASE_CHECK 1104
#define IDC_NO_PASSPHRASE_NOTE  1105
#define IDC_OPEN_BACKUP_PROMPT  1106
#define IDC_HOTKEY_TAKEN_NOTE   1140
#define IDC_TYPING_METHOD_LABEL 1141
#define IDC_TYPING_METHOD_COMBO 1142
