#include "update/UpgradeDlg.h"
#include "res/resource.h"

CUpgradeDlg::CUpgradeDlg() : CPageDlg(IDD_UPGRADE) {}
