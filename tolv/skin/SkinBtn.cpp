#include "skin/SkinBtn.h"

namespace {

void DeleteBitmap(HBITMAP& bmp)
{
    if (bmp) ::DeleteObject(bmp);
    bmp = nullptr;
}

HBITMAP LoadSkinBitmap(UINT id)
{
    return ::LoadBitmapA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
}

}  // namespace

CSkinBtn::~CSkinBtn()
{
    if (m_snapshotDC) {
        ::SelectObject(m_snapshotDC, m_snapshotOld);
        ::DeleteDC(m_snapshotDC);
    }
    DeleteBitmap(m_snapshotBitmap);
    DeleteBitmap(m_bmpNormal);
    DeleteBitmap(m_bmpHover);
    DeleteBitmap(m_bmpPressed);
    DeleteBitmap(m_bmpDisabled);
}

void CSkinBtn::SetBitmaps(UINT normal, UINT hover, UINT pressed)
{
    DeleteBitmap(m_bmpNormal);
    DeleteBitmap(m_bmpHover);
    DeleteBitmap(m_bmpPressed);
    DeleteBitmap(m_bmpDisabled);
    m_bmpNormal = LoadSkinBitmap(normal);
    m_bmpHover = LoadSkinBitmap(hover);
    m_bmpPressed = LoadSkinBitmap(pressed);
    m_bmpDisabled = LoadSkinBitmap(normal);
}

void CSkinBtn::PreSubclassWindow()
{
    ModifyStyle(0, BS_OWNERDRAW);
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

bool CSkinBtn::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    switch (msg) {
    case WM_MOUSEMOVE:
        OnMouseMove();
        return true;  // OnMouseMove runs the default processing itself
    case WM_TIMER:
        OnTimer(wp);
        result = Default();
        return true;
    case WM_ERASEBKGND:
        OnEraseBkgnd(reinterpret_cast<HDC>(wp));
        result = TRUE;
        return true;
    case WM_SETCURSOR:
        // The pointer keeps the shape it had when it entered the button.
        result = TRUE;
        return true;
    case WM_ENABLE:
        result = Default();
        m_enabled = (wp != 0);
        return true;
    }
    return false;
}

bool CSkinBtn::OnChildNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    if (msg != WM_DRAWITEM) return false;
    DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
    return true;
}

void CSkinBtn::DrawItem(const DRAWITEMSTRUCT& dis)
{
    // The common controls repaint a button when the mouse enters it, so a
    // repaint while the mouse is over the button keeps the hover picture
    // whether or not the button has the focus.
    m_state = Normal;
    if ((dis.itemState & ODS_FOCUS) && (dis.itemState & ODS_SELECTED))
        m_state = Pressed;
    else if (m_hovering)
        m_state = Hover;
    if (dis.itemState & ODS_DISABLED) {
        m_state = Disabled;
        m_enabled = false;
    }
    Draw();
}

HBITMAP CSkinBtn::PictureForState() const
{
    if (m_bSelected) return m_bmpPressed;
    switch (m_state) {
    case Hover: return m_bmpHover;
    case Pressed: return m_bmpPressed;
    case Disabled: return m_bmpDisabled;
    default: return m_bmpNormal;
    }
}

void CSkinBtn::Draw()
{
    CClientDC dc(m_hWnd);
    RECT rc;
    GetClientRect(&rc);
    const int w = rc.right, h = rc.bottom;

    // Compose off-screen, then one transfer: the screen never shows the
    // background without the picture.
    CMemDC compose(dc);
    CGdiHandle<HBITMAP> canvas(::CreateCompatibleBitmap(dc, w, h));
    compose.SelectBitmap(canvas);
    if (m_snapshotDC)
        ::BitBlt(compose, 0, 0, w, h, m_snapshotDC, 0, 0, SRCCOPY);

    if (HBITMAP picture = PictureForState()) {
        BITMAP info = {};
        ::GetObjectA(picture, sizeof(info), &info);
        CMemDC source(dc);
        source.SelectBitmap(picture);
        if (info.bmHeight > h || info.bmWidth > w)
            ::StretchBlt(compose, 0, 0, w, h, source, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
        else
            ::BitBlt(compose, 0, 0, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
    }
    ::BitBlt(dc, 0, 0, w, h, compose, 0, 0, SRCCOPY);
}

void CSkinBtn::OnEraseBkgnd(HDC hdc)
{
    if (m_backgroundCaptured) return;
    RECT rc;
    GetClientRect(&rc);
    m_snapshotDC = ::CreateCompatibleDC(hdc);
    m_snapshotBitmap = ::CreateCompatibleBitmap(hdc, rc.right, rc.bottom);
    m_snapshotOld = ::SelectObject(m_snapshotDC, m_snapshotBitmap);
    // What the parent has painted under the button at this moment.
    ::BitBlt(m_snapshotDC, 0, 0, rc.right, rc.bottom, hdc, 0, 0, SRCCOPY);
    m_backgroundCaptured = true;
    ::SetWindowRgn(m_hWnd, ::CreateRectRgn(0, 0, rc.right, rc.bottom), TRUE);
}

bool CSkinBtn::CursorInside() const
{
    RECT rc;
    POINT pt;
    ::GetWindowRect(m_hWnd, &rc);
    ::GetCursorPos(&pt);
    return ::PtInRect(&rc, pt) != FALSE;
}

void CSkinBtn::OnMouseMove()
{
    if (!m_hovering && m_enabled) {
        m_hovering = true;
        m_state = Hover;
        if (!CursorInside()) {
            ::SetTimer(m_hWnd, kHoverTimer, kHoverPeriodMs, nullptr);
            return;
        }
        Draw();
        ::SetTimer(m_hWnd, kHoverTimer, kHoverPeriodMs, nullptr);
    }
    Default();
}

void CSkinBtn::OnTimer(UINT_PTR id)
{
    if (id != kHoverTimer) return;
    if (!CursorInside() && m_hovering && m_enabled) {
        ::KillTimer(m_hWnd, kHoverTimer);
        m_hovering = false;
        m_state = Normal;
        Draw();
    }
}
