// Resource ids of Velkor.exe, each defined once. Included by the resource
// script and by the C++ code.
#pragma once

// Unnamed labels and frames.
#ifndef IDC_STATIC
#define IDC_STATIC                  (-1)
#endif

// ---- Dialogs
#define IDD_ABOUTBOX                100
#define IDD_VELKOR_DIALOG           102
#define IDD_ADDRESS_PICKER          139
#define IDD_FIND_TEXT               141
#define IDD_NGWORD_TOOL             143
#define IDD_PROGRESS                146
#define IDD_PERSONAL_INFO           148
#define IDD_OWN_NAME                150
#define IDD_RULE_TEMPLATE           151
#define IDD_RESTORE_BACKUP          160
#define IDD_RULE_TEST               170

// ---- Icons, menus, accelerators
#define IDR_MAINFRAME               128
#define IDR_LIST_MENUS              134
#define IDR_ACCELERATORS            142
#define IDR_NGWORD_MENUS            144
#define IDR_PICKER_MENU             145

// ---- Bitmaps
#define IDB_FOLDERS                 135
#define IDB_RULE_TEMPLATES          137
#define IDB_COLORS                  138

// ---- Strings
#define IDS_ABOUTBOX                101
#define IDS_OE_RUNNING_WARNING      102
#define IDS_WATCH_START_FAILED      103
#define IDS_WATCH_ERROR             104
#define IDS_RULES_CHANGED_OUTSIDE   106
#define IDS_SAVE_WHILE_OE_RUNS      107
#define IDS_OLE_INIT_FAILED         32780
#define IDS_WAB_FLAT_BUFFER         32781
#define IDS_RAW_MESSAGE_FORMAT      32782
#define IDS_MAIL_HTML_FORMAT        32783
#define IDS_HTML_FORMAT             32784
#define IDS_RICH_TEXT_FORMAT        32785
#define IDS_RULE_LIST_FORMAT        32786
#define IDS_APP_TITLE               57344

// ---- Main window (dialog 102)
#define IDC_BLOCKED_SENDER_VIEW     1001
#define IDC_RULE_LIST               1002
#define IDC_CRITERIA_TYPE_LIST      1003
#define IDC_ACTION_TYPE_LIST        1004
#define IDC_VALUE_LIST              1006
#define IDC_IDENTITY_COMBO          1008
#define IDC_CRITERIA_COMBO          1014
#define IDC_CRITERIA_LABEL          1015
#define IDC_SIZE_EDIT               1016
#define IDC_LOGIC_ALL               1017
#define IDC_LOGIC_ANY               1018
#define IDC_WORDS_CONTAINED         1019
#define IDC_WORDS_NOT_CONTAINED     1020
#define IDC_WORDS_ALL               1021
#define IDC_WORDS_ANY               1022
#define IDC_LOGIC_GROUP             1023
#define IDC_OPTION1_GROUP           1024
#define IDC_OPTION2_GROUP           1025
#define IDC_FOLDER_TREE             1027
#define IDC_COLOR_COMBO             1028
#define IDC_ADDRESS_EDIT            1031
#define IDC_BROWSE                  1032
#define IDC_MARK_COMBO              1033
#define IDC_ACTION_LABEL            1034
#define IDC_SAVE                    1036
#define IDC_SYNC                    1038

// ---- About box (dialog 100)
#define IDC_ABOUT_ICON              1100
#define IDC_ABOUT_VERSION           1101

// ---- Address picker (dialog 139)
#define IDC_PICKER_PROMPT           1035
#define IDC_PICKER_LIST             1007
#define IDC_PICKER_ADD              1036
#define IDC_PICKER_FIND             1102
#define IDC_PICKER_FILTER_GROUP     1038
#define IDC_PICKER_FILTER_OWN       1054
#define IDC_PICKER_FILTER_BLOCKED   1037
#define IDC_PICKER_FILTER_ALL       1039

// ---- Find (dialog 141)
#define IDC_FIND_TEXT               1039
#define IDC_FIND_MATCH_CASE         1040

// ---- NG-word tool (dialog 143)
#define IDC_NG_WORD_LIST            1047
#define IDC_NG_MAIL_VIEW            1050
#define IDC_NG_PASTE_BODY           1051
#define IDC_NG_CANCEL               1055
#define IDC_NG_RESULT               1056
#define IDC_NG_HELP_TEXT            1057
#define IDC_NG_LIST_LABEL           1058
#define IDC_NG_OK                   1036

// ---- Progress window (dialog 146)
#define IDC_PROGRESS_BAR            1059
#define IDC_PROGRESS_PERCENT        1060
#define IDC_PROGRESS_STATUS         1061

// ---- Personal information (dialog 148) and own names (dialog 150)
#define IDC_INFO_OTHER              1078
#define IDC_INFO_CELLULAR           1079
#define IDC_INFO_FAMILY_NAME        1081
#define IDC_INFO_GIVEN_NAME         1086
#define IDC_INFO_TOWN               1087
#define IDC_INFO_PHONE              1088
#define IDC_INFO_GIVEN_NAME_LATIN   1089
#define IDC_INFO_FAMILY_NAME_LATIN  1090
#define IDC_INFO_ZIP                1091
#define IDC_INFO_COMPANY            1095
#define IDC_INFO_HANDLE_NAME        1096
#define IDC_OWN_NAMES               1078
#define IDC_BACK                    1080

// ---- Rule templates (dialog 151); 1070 is also the help box of dialog 150
#define IDC_TEMPLATE_DESCRIPTION    1070
#define IDC_TEMPLATE_OK             1077
#define IDC_TEMPLATE_LIST           1085

// Restore from a backup
#define IDC_BACKUP_LIST             1160
#define IDC_BACKUP_FOLDER           1161
#define IDC_BACKUP_NONE             1162

// The rule tester (dialog 170) and its button in the main window
#define IDC_RULE_TEST               1239
#define IDC_RT_OPEN                 1240
#define IDC_RT_ACCOUNT              1241
#define IDC_RT_MAIL                 1242
#define IDC_RT_VERDICT              1243
#define IDC_RT_RULES                1244
#define IDC_RT_DETAILS              1245
#define IDC_RT_HELP                 1246
#define IDC_RT_HINT                 1247

// ---- System menu of the main window
#define ID_SYS_ABOUT                0x0010
#define ID_SYS_TOPMOST              0x0020

// ---- Commands of the criterion word list (menu 134, popup 0)
#define ID_VALUE_ADD_ITEM           32773
#define ID_VALUE_ADD_FROM_WAB       32776
#define ID_VALUE_DELETE             32779
#define ID_VALUE_SELECT_ALL         32797
#define ID_VALUE_COPY               32798
#define ID_VALUE_PASTE              32799
#define ID_VALUE_FIND               32800
#define ID_VALUE_CUT                32803
#define ID_NGWORD_TOOL              32838
#define ID_VALUE_ADD_OWN_ADDRESSES  32840
#define ID_VALUE_ADD_KANA           32841

// ---- Commands of the blocked-sender list (menu 134, popup 1)
#define ID_BLOCKED_ADD_FROM_WAB     32791
#define ID_BLOCKED_FIND             32796
#define ID_BLOCKED_ADD_ITEM         32818
#define ID_BLOCKED_DELETE           32819
#define ID_BLOCKED_SELECT_ALL       32820
#define ID_BLOCKED_COPY             32821
#define ID_BLOCKED_PASTE            32822
#define ID_BLOCKED_CUT              32823

// ---- Commands of the rule list (menu 134, popup 2)
#define ID_RULE_ADD_EMPTY           32812
#define ID_RULE_CUT                 32813
#define ID_RULE_COPY                32814
#define ID_RULE_PASTE               32815
#define ID_RULE_DELETE              32816
#define ID_RULE_SELECT_ALL          32817
#define ID_RULE_CREATE_TEMPLATE     32847
#define ID_RULE_RESTORE_BACKUP      32860
#define ID_RULE_TEST                32870

// ---- NG-word tool commands (menu 144)
#define ID_NG_ADD_SELECTION         32828

// ---- Generic editing commands of the accelerator table 142
#define ID_EDIT_INSERT              32811
#define ID_FIND_NEXT                32835
#define ID_EDIT_CLEAR               57632
#define ID_EDIT_COPY                57634
#define ID_EDIT_CUT                 57635
#define ID_EDIT_FIND                57636
#define ID_EDIT_PASTE               57637
#define ID_EDIT_SELECT_ALL          57642

// ---- Help contexts
#define IDH_DEFAULT_TOPIC           2
