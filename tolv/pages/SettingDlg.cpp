#include "pages/SettingDlg.h"
#include "res/resource.h"

CSettingDlg::CSettingDlg() : CPageDlg(IDD_SETTING) {}
