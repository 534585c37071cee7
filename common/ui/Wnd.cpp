#include "ui/Wnd.h"

namespace {
// Window property holding the bound object.
const char kBindingProp[] = "ui.CWnd";
}

CWnd::~CWnd()
{
    // A window bound to this object goes with it; a control that a wrapper
    // only sends to (AttachControl) belongs to its dialog.
    if (m_hWnd && FromHandle(m_hWnd) == this)
        ::DestroyWindow(m_hWnd);
}

CWnd* CWnd::FromHandle(HWND hwnd)
{
    if (!hwnd) return nullptr;
    return static_cast<CWnd*>(::GetPropA(hwnd, kBindingProp));
}

bool CWnd::Bind(HWND hwnd)
{
    if (!::IsWindow(hwnd) || FromHandle(hwnd) || m_hWnd) return false;
    m_hWnd = hwnd;
    ::SetPropA(hwnd, kBindingProp, this);
    m_prevProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::StaticWndProc)));
    return true;
}

bool CWnd::SubclassWindow(HWND hwnd)
{
    if (!::IsWindow(hwnd) || FromHandle(hwnd) || m_hWnd) return false;
    m_hWnd = hwnd;  // PreSubclassWindow may use the handle
    PreSubclassWindow();
    m_hWnd = nullptr;
    return Bind(hwnd);
}

HWND CWnd::UnsubclassWindow()
{
    HWND hwnd = m_hWnd;
    if (!hwnd) return nullptr;
    if (m_prevProc)
        ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_prevProc));
    ::RemovePropA(hwnd, kBindingProp);
    m_prevProc = nullptr;
    m_hWnd = nullptr;
    return hwnd;
}

BOOL CWnd::DestroyWindow()
{
    if (!m_hWnd) return FALSE;
    return ::DestroyWindow(m_hWnd);
}

void CWnd::ModifyStyle(DWORD remove, DWORD add, UINT swpFlags) const
{
    LONG_PTR style = ::GetWindowLongPtrA(m_hWnd, GWL_STYLE);
    LONG_PTR newStyle = (style & ~static_cast<LONG_PTR>(remove)) | add;
    if (newStyle == style) return;
    ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, newStyle);
    if (swpFlags)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
}

LRESULT CWnd::CallPrevious(UINT msg, WPARAM wp, LPARAM lp)
{
    if (m_prevProc)
        return ::CallWindowProcA(m_prevProc, m_hWnd, msg, wp, lp);
    return ::DefWindowProcA(m_hWnd, msg, wp, lp);
}

LRESULT CWnd::Default()
{
    if (!m_currentMsg) return 0;
    return CallPrevious(m_currentMsg->message, m_currentMsg->wParam, m_currentMsg->lParam);
}

bool CWnd::Dispatch(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    // Owner-drawn controls draw themselves: the parent hands the request back.
    if (msg == WM_DRAWITEM && lp) {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
        CWnd* child = (dis->CtlType != ODT_MENU) ? FromHandle(dis->hwndItem) : nullptr;
        if (child && child != this && child->OnChildNotify(msg, wp, lp, result)) {
            result = TRUE;
            return true;
        }
    }
    return OnMessage(msg, wp, lp, result);
}

LRESULT CWnd::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    LRESULT result = 0;
    if (Dispatch(msg, wp, lp, result)) return result;
    return Default();
}

LRESULT CALLBACK CWnd::StaticWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    CWnd* wnd = FromHandle(hwnd);
    if (!wnd) return ::DefWindowProcA(hwnd, msg, wp, lp);

    MSG current = {hwnd, msg, wp, lp, 0, {0, 0}};
    const MSG* saved = wnd->m_currentMsg;
    wnd->m_currentMsg = &current;
    LRESULT result = 0;
    // No C++ exception may cross into the system's code: a handler that
    // throws leaves the message to its default processing.
    try {
        result = wnd->WindowProc(msg, wp, lp);
    } catch (...) {
        result = wnd->CallPrevious(msg, wp, lp);
    }
    wnd->m_currentMsg = saved;

    if (msg == WM_NCDESTROY) {
        wnd->UnsubclassWindow();
        wnd->PostNcDestroy();
    }
    return result;
}
