#include "service/ServiceDlg.h"
#include "res/resource.h"

CServiceDlg::CServiceDlg() : CPageDlg(IDD_SERVICE) {}

BOOL CServiceDlg::OnInitDialog()
{
    CPageDlg::OnInitDialog();
    CreateCloseButton(m_btnClose);
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
