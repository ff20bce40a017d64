// Resource ids of TarnWABSync.exe, each defined once. Included by the resource
// script and by the C++ code.
#pragma once

#define IDD_SYNC_SETTINGS      102
#define IDI_PROGRAM            139

#define IDC_SYNC_LABEL         1000
#define IDC_SYNC_METHOD_GROUP  1001
#define IDC_SYNC_FULL          1005
#define IDC_SYNC_ADD_ONLY      1006
#define IDC_SYNC_REPORT        1007
#define IDC_SYNC_OK            1010
#define IDC_SYNC_STARTUP       1011
#define IDC_SYNC_SHOW_RESULT   1012

#define IDS_SYNC_TITLE         57344
