#include "service/ServiceDlg.h"
#include "res/resource.h"

CServiceDlg::CServiceDlg() : CPageDlg(IDD_SERVICE) {}

BOOL CServiceDlg::OnInitDialog()
{
    CPageDlg::OnInitDialog();
    m_btnClose.Create("", WS_CHILD | WS_VISIBLE, RECT{530, 30, 574, 49}, this, IDC_PAGE_CLOSE);
    m_btnClose.SetBitmaps(IDB_CLOSE_NORMAL, IDB_CLOSE_HOVER, IDB_CLOSE_PRESSED);
    return TRUE;
}

bool CServiceDlg::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    if (msg == WM_COMMAND && LOWORD(wp) == IDC_PAGE_CLOSE && HIWORD(wp) == BN_CLICKED) {
        OnCancel();
        return true;
    }
    return CPageDlg::OnMessage(msg, wp, lp, result);
}
