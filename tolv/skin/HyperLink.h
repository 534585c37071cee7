// CHyperLink: takes over a static control and draws its text itself in one
// of three colours (normal, under the mouse, pressed), optionally with an
// underline, shows the hand cursor over it and opens its link with the
// shell when the left button is released on it.  Also used without a link,
// only for its colours and font.
//
// Attach it in the dialog's initialisation, after the control exists, and
// give colours, font, link and underline switch afterwards.  The label
// routes the control's messages to itself through a window property and
// gives the control its previous procedure back at destruction.
#pragma once

#include <windows.h>
#include <string>

class CHyperLink {
public:
    CHyperLink() = default;
    virtual ~CHyperLink();
    CHyperLink(const CHyperLink&) = delete;
    CHyperLink& operator=(const CHyperLink&) = delete;

    void Attach(HWND window);
    void SetColors(COLORREF normal, COLORREF hover, COLORREF pressed);
    // The label owns the font from now on.
    void SetFont(HFONT font);
    void SetURL(const char* link) { m_link = link ? link : ""; }
    // 1 draws no underline; any other value draws it.
    void SetNoUnderline(int value) { m_noUnderline = value; }

    HWND GetSafeHwnd() const { return m_hwnd; }
    const std::string& GetURL() const { return m_link; }

protected:
    virtual LRESULT WindowProc(HWND window, UINT msg, WPARAM wp, LPARAM lp);
    virtual void OnHover();
    virtual void OnPress();
    virtual void OnRelease();
    virtual void OnDrawNormal();
    virtual void OnLeave();
    virtual void OpenURL();

private:
    static LRESULT CALLBACK StaticProc(HWND window, UINT msg, WPARAM wp, LPARAM lp);
    void DrawText(COLORREF text, COLORREF underline);

    int m_noUnderline = 1;
    std::string m_text;
    std::string m_underline;
    std::string m_link;
    COLORREF m_colors[3] = {0, 0, 0};
    COLORREF m_underlineColors[3] = {0, 0, 0};
    HFONT m_font = nullptr;
    HGDIOBJ m_previousFont = nullptr;
    bool m_previousFontKept = false;
    WNDPROC m_previousProc = nullptr;
    HWND m_hwnd = nullptr;
    HDC m_hdc = nullptr;
    RECT m_client = {0, 0, 0, 0};
};
