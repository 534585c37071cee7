#include "skin/HyperLink.h"

#include <shellapi.h>

namespace {
const char kLabelProp[] = "ui.CHyperLink";
enum { kNormal = 0, kHover = 1, kPressed = 2 };
}

CHyperLink::~CHyperLink()
{
    if (!m_hwnd) return;
    if (m_hdc) {
        if (m_previousFontKept) ::SelectObject(m_hdc, m_previousFont);
        ::ReleaseDC(m_hwnd, m_hdc);
    }
    if (m_font) ::DeleteObject(m_font);
    if (::IsWindow(m_hwnd)) {
        ::SetWindowLongPtrA(m_hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_previousProc));
        ::RemovePropA(m_hwnd, kLabelProp);
    }
}

void CHyperLink::Attach(HWND window)
{
    if (m_hwnd || !::IsWindow(window)) return;
    m_hwnd = window;
    m_hdc = ::GetDC(window);
    ::SetBkMode(m_hdc, TRANSPARENT);
    ::GetClientRect(window, &m_client);

    char text[1024] = "";
    ::SendMessageA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));

    ::SetWindowLongPtrA(window, GWL_STYLE, WS_CHILD | WS_VISIBLE | WS_GROUP | SS_NOTIFY);
    ::SetWindowLongPtrA(window, GWL_EXSTYLE, WS_EX_NOPARENTNOTIFY | WS_EX_LEFTSCROLLBAR);
    ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE);

    m_text.clear();
    for (const char* p = text; *p; ++p)
        if (*p != '\r' && *p != '\n') m_text += *p;
    m_underline.assign(m_text.size(), '_');

    ::SetPropA(window, kLabelProp, this);
    m_previousProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CHyperLink::StaticProc)));
}

void CHyperLink::SetColors(COLORREF normal, COLORREF hover, COLORREF pressed)
{
    m_colors[kNormal] = normal;
    m_colors[kHover] = hover;
    m_colors[kPressed] = pressed;
    if (m_underlineColors[0] == 0 && m_underlineColors[1] == 0 && m_underlineColors[2] == 0) {
        m_underlineColors[kNormal] = normal;
        m_underlineColors[kHover] = hover;
        m_underlineColors[kPressed] = pressed;
    }
}

void CHyperLink::SetFont(HFONT font)
{
    if (m_font && m_font != font) ::DeleteObject(m_font);
    m_font = font;
    if (!m_hdc) return;
    HGDIOBJ old = ::SelectObject(m_hdc, font);
    if (!m_previousFontKept) {
        m_previousFont = old;
        m_previousFontKept = true;
    }
}

LRESULT CALLBACK CHyperLink::StaticProc(HWND window, UINT msg, WPARAM wp, LPARAM lp)
{
    auto* label = static_cast<CHyperLink*>(::GetPropA(window, kLabelProp));
    if (!label) return ::DefWindowProcA(window, msg, wp, lp);
    try {
        return label->WindowProc(window, msg, wp, lp);
    } catch (...) {
        return ::DefWindowProcA(window, msg, wp, lp);
    }
}

LRESULT CHyperLink::WindowProc(HWND window, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_PAINT:
        ::DefWindowProcA(window, msg, wp, lp);
        OnDrawNormal();
        return 1;
    case WM_ERASEBKGND:
        OnDrawNormal();
        return 1;
    case WM_CHAR:
        return 1;
    case WM_MOUSEMOVE: {
        TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, window, 0};
        ::TrackMouseEvent(&track);
        OnHover();
        return 1;
    }
    case WM_LBUTTONDOWN:
        OnPress();
        return 1;
    case WM_LBUTTONUP:
        OnRelease();
        return 1;
    case WM_MOUSELEAVE:
        OnLeave();
        return 1;
    }
    return ::DefWindowProcA(window, msg, wp, lp);
}

void CHyperLink::DrawText(COLORREF text, COLORREF underline)
{
    if (!m_hdc) return;
    ::SetTextColor(m_hdc, text);
    ::ExtTextOutA(m_hdc, 0, 0, ETO_CLIPPED, &m_client, m_text.c_str(),
                  static_cast<UINT>(m_text.size()), nullptr);
    if (m_noUnderline != 1) {
        ::SetTextColor(m_hdc, underline);
        ::ExtTextOutA(m_hdc, 0, 1, ETO_CLIPPED, &m_client, m_underline.c_str(),
                      static_cast<UINT>(m_underline.size()), nullptr);
    }
}

void CHyperLink::OnHover()
{
    ::SetCursor(::LoadCursor(nullptr, IDC_HAND));
    DrawText(m_colors[kHover], m_underlineColors[kHover]);
}

void CHyperLink::OnPress()
{
    ::SetCursor(::LoadCursor(nullptr, IDC_HAND));
    DrawText(m_colors[kPressed], m_underlineColors[kPressed]);
}

void CHyperLink::OnRelease()
{
    ::SetCursor(::LoadCursor(nullptr, IDC_HAND));
    DrawText(m_colors[kHover], m_underlineColors[kHover]);
    OpenURL();
}

void CHyperLink::OnDrawNormal()
{
    if (!m_font && m_hdc) {
        HGDIOBJ old = ::SelectObject(m_hdc, ::GetStockObject(DEFAULT_GUI_FONT));
        if (!m_previousFontKept) {
            m_previousFont = old;
            m_previousFontKept = true;
        }
    }
    DrawText(m_colors[kNormal], m_underlineColors[kNormal]);
}

void CHyperLink::OnLeave()
{
    DrawText(m_colors[kNormal], m_underlineColors[kNormal]);
}

void CHyperLink::OpenURL()
{
    if (m_link.empty()) return;
    ::ShellExecuteA(m_hwnd, "open", m_link.c_str(), nullptr, nullptr, SW_SHOW);
}
