#pragma once
// The settings dialog's template and its controls (settingsdialog.rc).
#define IDD_SETTINGS 100
#define IDC_KEEPSTRINGLITERALS 101
#define IDC_KEEPSTRINGLITERALS_LINE 102
#define IDC_TABSTOPS 103
#define IDC_TABSTOPS_LINE 104
#define IDC_LOGGING 105
#define IDC_LOGGING_LINE 106
#define IDC_SETTINGSFILE 107
#define IDC_OPENFOLDER 108
#define IDC_STATUS 109
