#include "pages/PageDlg.h"
#include "res/resource.h"
#include "skin/SkinBtn.h"

HBRUSH CPageDlg::PageStaticColor(HDC hdc)
{
    ::SetTextColor(hdc, RGB(0, 102, 153));
    ::SetBkMode(hdc, TRANSPARENT);
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

BOOL CPageDlg::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && IsSwallowedKey(msg->wParam) && m_hWnd &&
        (msg->hwnd == m_hWnd || ::IsChild(m_hWnd, msg->hwnd)))
        return TRUE;
    return CDialog::PreTranslateMessage(msg);
}

LRESULT CPageDlg::EraseWhite(HDC hdc)
{
    LRESULT result = Default();
    RECT rc;
    GetClientRect(&rc);
    ::FillRect(hdc, &rc, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    return result;
}

bool CPageDlg::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    switch (msg) {
    case WM_ERASEBKGND:
        result = EraseWhite(reinterpret_cast<HDC>(wp));
        return true;
    case WM_CTLCOLORSTATIC:
        Default();
        result = reinterpret_cast<LRESULT>(PageStaticColor(reinterpret_cast<HDC>(wp)));
        return true;
    }
    return false;
}

void CPageDlg::CreateCloseButton(CSkinBtn& button)
{
    button.Create("", WS_CHILD | WS_VISIBLE, RECT{530, 30, 574, 49}, this, IDC_PAGE_CLOSE);
    button.SetBitmaps(IDB_CLOSE_NORMAL, IDB_CLOSE_HOVER, IDB_CLOSE_PRESSED);
}
