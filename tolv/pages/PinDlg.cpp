#include "pages/PinDlg.h"
#include "res/resource.h"

CPinDlg::CPinDlg() : CPageDlg(IDD_PIN) {}

BOOL CPinDlg::OnInitDialog()
{
    CPageDlg::OnInitDialog();
    CreateCloseButton(m_btnClose);
    return TRUE;
}

bool CPinDlg::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    switch (msg) {
    case WM_LBUTTONDOWN:
        // The page has no caption: its background drags it.
        ::PostMessageA(m_hWnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
        result = Default();
        return true;
    case WM_COMMAND:
        if (LOWORD(wp) == IDC_PAGE_CLOSE && HIWORD(wp) == BN_CLICKED) {
            OnCloseButton();
            return true;
        }
        break;
    }
    return CPageDlg::OnMessage(msg, wp, lp, result);
}

void CPinDlg::OnCloseButton()
{
    ShowWindow(SW_HIDE);
}
