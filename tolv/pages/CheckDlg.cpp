#include "pages/CheckDlg.h"
#include "res/resource.h"

CCheckDlg::CCheckDlg() : CPageDlg(IDD_CHECK) {}
