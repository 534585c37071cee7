// CSettingDlg: the settings page of the main window, a child dialog over
// its page area, created hidden at start-up.
#pragma once

#include "pages/PageDlg.h"

class CSettingDlg : public CPageDlg {
public:
    CSettingDlg();
};
