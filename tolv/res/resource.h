// Resource and control ids of TOLV.  The numbers are fixed: the dialogs,
// skin bitmaps and messages are addressed by them.
#pragma once

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Icon, menu, strings
#define IDR_MAINFRAME           128
#define IDR_TRAYMENU            180
#define IDS_ABOUTBOX            101
#define IDM_ABOUTBOX            0x0010

// Dialog templates
#define IDD_TOLV_DIALOG         102
#define IDD_UPGRADE             137
#define IDD_SETTING             138
#define IDD_PIN                 185
#define IDD_CHECK               190
#define IDD_SERVICE             271

// Skin bitmaps of the main window
#define IDB_BANNER              133
#define IDB_BOTTOMBAR           139
#define IDB_ADPANEL             140
#define IDB_SIDEEDGE            142
#define IDB_CONTACTCARD         143
#define IDB_CERTHEADING         264
#define IDB_CERT_NORMAL         199
#define IDB_CERT_HOVER          200
#define IDB_CHECK_NORMAL        201
#define IDB_CHECK_HOVER         202
#define IDB_UPGRADE_NORMAL      205
#define IDB_UPGRADE_HOVER       206
#define IDB_SETTING_NORMAL      207
#define IDB_SETTING_HOVER       208
#define IDB_CLOSE_NORMAL        209
#define IDB_CLOSE_PRESSED       210
#define IDB_CLOSE_HOVER         211
#define IDB_MIN_NORMAL          212
#define IDB_MIN_HOVER           213
#define IDB_PIN_NORMAL          265
#define IDB_PIN_HOVER           266
#define IDB_SERVICE_NORMAL      267
#define IDB_SERVICE_HOVER       268
#define IDB_RENEW_NORMAL        269
#define IDB_RENEW_HOVER         270

// Skin bitmaps of the pages
#define IDB_SETTING_TITLE       156
#define IDB_UPGRADE_TITLE       157
#define IDB_SETTING_PICTURE     158
#define IDB_UPGRADE_BANNER      159
#define IDB_PIN_BANNER          186
#define IDB_PIN_SECTION         187
#define IDB_PIN_TITLE           188
#define IDB_CHECK_ICONS         192
#define IDB_SAVE_NORMAL         242
#define IDB_SAVE_HOVER          243
#define IDB_AUTOUPGRADE_NORMAL  246
#define IDB_AUTOUPGRADE_HOVER   247
#define IDB_SERVICE_BANNER      272
#define IDB_SERVICE_TITLE       273

// Main window (template 102)
#define IDC_BTN_CLOSE           102
#define IDC_BTN_MIN             103
#define IDC_BTN_CERT            106
#define IDC_BTN_CHECK           107
#define IDC_BTN_UPGRADE         109
#define IDC_BTN_SETTING         110
#define IDC_BTN_SERVICE         129
#define IDC_LINK_HOME           1006
#define IDC_VERSION_CAPTION     1007
#define IDC_LINK_FEEDBACK       1008
#define IDC_VERSION             1069
#define IDC_BTN_PIN             1078
#define IDC_BTN_RENEW           1079
#define IDC_CERT_LIST           1101
#define IDC_REFRESH             1102
#define IDC_CERT_DETAILS        1105

// Tray menu commands
#define ID_TRAY_SHOW            32771
#define ID_TRAY_MINIMIZE        32772
#define ID_TRAY_EXIT            32773
#define ID_TRAY_HIDE            32774
#define ID_TRAY_REFRESH         32776

// Diagnostics page (template 190)
#define IDC_CHECK_RUN           1077
#define IDC_RESULT_NETWORK      1078
#define IDC_RESULT_PROCESS      1079
#define IDC_RESULT_ROOTCERT     1080
#define IDC_RESULT_DRIVER       1081
#define IDC_REPAIR_PROCESS      1082
#define IDC_RESULT_CONTROLS     1083
#define IDC_HINT_DRIVER         1084
#define IDC_HINT_CONTROLS       1085
#define IDC_REPAIR_ROOTCERT     106
#define IDC_PROBE_UNUSED        1108
#define IDC_PROBE_PIN           1052
#define IDC_PROBE_VERIFY        1107

// PIN change page (template 185)
#define IDC_OLD_PIN             1052
#define IDC_NEW_PIN             1053
#define IDC_CONFIRM_PIN         1054
#define IDC_CONFIRM_CHANGE      1075
#define IDC_PAGE_CLOSE          102

// Settings page (template 138)
#define IDC_SETTING_CAPTION     1015
#define IDC_AUTORUN             1038
#define IDC_REMIND_DAYS         1040
#define IDC_SAVE_SETTINGS       115

// Upgrade page (template 137)
#define IDC_INSTALLED_VERSION   1054
#define IDC_LATEST_VERSION      1066
#define IDC_RELEASE_TIME        1067
#define IDC_UPDATE_TIME         1068
#define IDC_UPGRADE_UNUSED      1062
#define IDC_AUTO_UPGRADE        117

// Customer service dialog (template 271)
#define IDC_CITY                1109
#define IDC_CAPTION_HOTLINE     1036
#define IDC_CAPTION_COMPLAINT   1037
#define IDC_CAPTION_1           1115
#define IDC_CAPTION_2           1116
#define IDC_CAPTION_3           1117
#define IDC_HOTLINE             1110
#define IDC_COMPLAINT           1111
#define IDC_VALUE_1             1112
#define IDC_VALUE_2             1113
#define IDC_VALUE_3             1114
#define IDC_CHAT_1              1118
#define IDC_CHAT_2              1119
#define IDC_CHAT_3              1120
