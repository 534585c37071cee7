// The main window's skin: background bitmaps, rounded shape, frame lines,
// colours of the bottom-bar texts, and the skinned buttons.
#include "mainwnd/TolvDlg.h"
#include "res/resource.h"

namespace {

struct SkinButton {
    CSkinBtn CTolvDlg::*member;
    UINT id;
    RECT rect;
    UINT normal, hover, pressed;
};

struct Backdrop {
    UINT bitmap;
    int x, y, width, height;      // destination
    int sourceWidth, sourceHeight;
};

// Drawn in this order over the white fill.
const Backdrop kBackdrops[] = {
    {IDB_BOTTOMBAR, 0, 576, 845, 25, 845, 25},
    {IDB_BANNER, 0, 0, 845, 111, 845, 111},
    {IDB_ADPANEL, 580, 114, 257, 77, 257, 77},
    {IDB_CONTACTCARD, 580, 425, 255, 151, 255, 151},
    {IDB_SIDEEDGE, 840, 111, 5, 465, 5, 462},
    {IDB_SIDEEDGE, 0, 111, 5, 465, 4, 462},
    {IDB_CERTHEADING, 24, 170, 189, 79, 189, 79},
};

const COLORREF kSeparatorColor = RGB(180, 180, 180);
const COLORREF kFrameColor = RGB(45, 145, 238);

void DrawLine(HDC hdc, int x1, int y1, int x2, int y2)
{
    ::MoveToEx(hdc, x1, y1, nullptr);
    ::LineTo(hdc, x2, y2);
}

}  // namespace

void CTolvDlg::CreateSkinButtons()
{
    // Created in this order; the order decides the buttons' z-order.
    static const SkinButton kButtons[] = {
        {&CTolvDlg::m_btnClose, IDC_BTN_CLOSE, {805, 0, 845, 19}, IDB_CLOSE_NORMAL, IDB_CLOSE_HOVER, IDB_CLOSE_PRESSED},
        {&CTolvDlg::m_btnMin, IDC_BTN_MIN, {773, 0, 805, 19}, IDB_MIN_NORMAL, IDB_MIN_HOVER, IDB_MIN_NORMAL},
        {&CTolvDlg::m_btnSetting, IDC_BTN_SETTING, {758, 19, 845, 107}, IDB_SETTING_NORMAL, IDB_SETTING_HOVER, IDB_SETTING_HOVER},
        {&CTolvDlg::m_btnUpgrade, IDC_BTN_UPGRADE, {672, 19, 758, 107}, IDB_UPGRADE_NORMAL, IDB_UPGRADE_HOVER, IDB_UPGRADE_HOVER},
        {&CTolvDlg::m_btnCheck, IDC_BTN_CHECK, {586, 19, 672, 107}, IDB_CHECK_NORMAL, IDB_CHECK_HOVER, IDB_CHECK_HOVER},
        {&CTolvDlg::m_btnCert, IDC_BTN_CERT, {499, 19, 586, 107}, IDB_CERT_NORMAL, IDB_CERT_HOVER, IDB_CERT_HOVER},
        {&CTolvDlg::m_btnPin, IDC_BTN_PIN, {580, 195, 840, 266}, IDB_PIN_NORMAL, IDB_PIN_HOVER, IDB_PIN_NORMAL},
        {&CTolvDlg::m_btnRenew, IDC_BTN_RENEW, {580, 266, 840, 337}, IDB_RENEW_NORMAL, IDB_RENEW_HOVER, IDB_RENEW_NORMAL},
        {&CTolvDlg::m_btnService, IDC_BTN_SERVICE, {580, 337, 840, 408}, IDB_SERVICE_NORMAL, IDB_SERVICE_HOVER, IDB_SERVICE_NORMAL},
    };
    for (const SkinButton& b : kButtons) {
        CSkinBtn& button = this->*b.member;
        button.Create("", WS_CHILD | WS_VISIBLE, b.rect, this, b.id);
        button.SetBitmaps(b.normal, b.hover, b.pressed);
    }
}

LRESULT CTolvDlg::OnEraseBkgnd(HDC hdc)
{
    LRESULT result = Default();
    RECT rc;
    GetClientRect(&rc);
    CGdiHandle<HBRUSH> white(::CreateSolidBrush(RGB(255, 255, 255)));
    ::FillRect(hdc, &rc, white);

    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    for (const Backdrop& b : kBackdrops) {
        CGdiHandle<HBITMAP> bitmap(::LoadBitmapA(instance, MAKEINTRESOURCEA(b.bitmap)));
        if (!bitmap) continue;  // a missing picture leaves the white showing
        CMemDC source(hdc);
        source.SelectBitmap(bitmap);
        ::StretchBlt(hdc, b.x, b.y, b.width, b.height, source, 0, 0, b.sourceWidth, b.sourceHeight,
                     SRCCOPY);
    }
    return result;
}

void CTolvDlg::OnPaint()
{
    if (IsIconic()) {
        CPaintDC dc(m_hWnd);
        SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(static_cast<HDC>(dc)), 0);
        RECT rc;
        GetClientRect(&rc);
        int cx = ::GetSystemMetrics(SM_CXICON), cy = ::GetSystemMetrics(SM_CYICON);
        ::DrawIcon(dc, (rc.right - cx + 1) / 2, (rc.bottom - cy + 1) / 2, m_hIcon);
    } else {
        Default();
    }

    RECT rc;
    GetClientRect(&rc);
    // The region is applied with a redraw, which paints again: apply it only
    // when the size has changed, or painting would never end.
    if (rc.right != m_regionSize.cx || rc.bottom != m_regionSize.cy) {
        m_regionSize.cx = rc.right;
        m_regionSize.cy = rc.bottom;
        ::SetWindowRgn(m_hWnd, ::CreateRoundRectRgn(1, 1, rc.right, rc.bottom, 10, 10), TRUE);
    }

    // Over the child windows too: a DC of the whole window.
    CClientDC dc(m_hWnd);
    {
        CGdiHandle<HPEN> grey(::CreatePen(PS_SOLID, 1, kSeparatorColor));
        CSelect select(dc, grey);
        DrawLine(dc, 576, 112, 576, 577);
    }
    {
        CGdiHandle<HPEN> blue(::CreatePen(PS_SOLID, 1, kFrameColor));
        CSelect select(dc, blue);
        DrawLine(dc, 15, 164, 568, 164);
        DrawLine(dc, 15, 164, 15, 549);
        DrawLine(dc, 568, 164, 568, 549);
        DrawLine(dc, 15, 549, 568, 549);
    }
}

HBRUSH CTolvDlg::OnCtlColor(HDC hdc, HWND control, LRESULT defaultResult)
{
    int id = ::GetDlgCtrlID(control);
    if (id == IDC_VERSION_CAPTION || id == IDC_VERSION) {
        ::SetBkMode(hdc, TRANSPARENT);
        ::SetTextColor(hdc, RGB(255, 255, 255));
        return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
    }
    return reinterpret_cast<HBRUSH>(defaultResult);
}
