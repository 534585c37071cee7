// CWnd: a window handle bound to a C++ object.
//
// A window is bound either when the framework creates it (dialogs) or when
// an existing window is taken over with SubclassWindow (controls created
// with CreateWindowEx or found in a dialog template).  From then on every
// message goes to the object's WindowProc, which asks the class's message
// map (OnMessage) first and otherwise calls the window's previous procedure.
//
// The binding lives in a window property, so any thread can ask
// CWnd::FromHandle; objects themselves are used on the UI thread only.
#pragma once

#include <windows.h>

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }

    // The object bound to hwnd, or null.
    static CWnd* FromHandle(HWND hwnd);

    // Take over an existing window: its messages reach WindowProc from now
    // on.  PreSubclassWindow runs first.  Fails if hwnd is not a window or
    // is bound already.
    bool SubclassWindow(HWND hwnd);
    // Give the window its previous procedure back and forget it.
    HWND UnsubclassWindow();

    virtual BOOL DestroyWindow();

    // Called for every message of the modal loops before it is dispatched,
    // from the target window up through its parents.  TRUE consumes it.
    virtual BOOL PreTranslateMessage(MSG* msg) { return FALSE; }

    // Thin helpers over the handle.
    BOOL ShowWindow(int cmd) const { return ::ShowWindow(m_hWnd, cmd); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    void Invalidate(BOOL erase = TRUE) const { ::InvalidateRect(m_hWnd, nullptr, erase); }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    void ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0) const;
    void GetClientRect(RECT* rc) const { ::GetClientRect(m_hWnd, rc); }
    LRESULT SendMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const {
        return ::SendMessageA(m_hWnd, msg, wp, lp);
    }

protected:
    // The message map of a class: handle a message and return true with
    // its result, or return false to pass it to the base behaviour.
    virtual bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) { return false; }
    // A notification that the parent reflects back to this control
    // (WM_DRAWITEM).  Return true when handled.
    virtual bool OnChildNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) { return false; }

    // Dispatch of one message: Dispatch, else Default.
    virtual LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp);
    // Child reflection, then OnMessage; true when one of them handled it.
    bool Dispatch(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    // The window's previous procedure with the message being handled.
    LRESULT Default();
    LRESULT CallPrevious(UINT msg, WPARAM wp, LPARAM lp);

    virtual void PreSubclassWindow() {}
    // The window is gone (WM_NCDESTROY handled, binding removed).
    virtual void PostNcDestroy() {}

private:
    friend class CDialog;
    static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    bool Bind(HWND hwnd);

    WNDPROC m_prevProc = nullptr;
    const MSG* m_currentMsg = nullptr;
};

// RAII helpers for device contexts and GDI objects used in painting code.
class CClientDC {
public:
    explicit CClientDC(HWND hwnd) : m_hwnd(hwnd), m_hdc(::GetDC(hwnd)) {}
    ~CClientDC() { if (m_hdc) ::ReleaseDC(m_hwnd, m_hdc); }
    CClientDC(const CClientDC&) = delete;
    CClientDC& operator=(const CClientDC&) = delete;
    operator HDC() const { return m_hdc; }
private:
    HWND m_hwnd;
    HDC m_hdc;
};

class CPaintDC {
public:
    explicit CPaintDC(HWND hwnd) : m_hwnd(hwnd) { m_hdc = ::BeginPaint(hwnd, &m_ps); }
    ~CPaintDC() { ::EndPaint(m_hwnd, &m_ps); }
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;
    operator HDC() const { return m_hdc; }
private:
    HWND m_hwnd;
    HDC m_hdc;
    PAINTSTRUCT m_ps;
};

// A memory DC compatible with another one; deleted with its selections undone.
class CMemDC {
public:
    explicit CMemDC(HDC compatible) : m_hdc(::CreateCompatibleDC(compatible)) {}
    ~CMemDC() {
        if (m_oldBitmap) ::SelectObject(m_hdc, m_oldBitmap);
        if (m_hdc) ::DeleteDC(m_hdc);
    }
    CMemDC(const CMemDC&) = delete;
    CMemDC& operator=(const CMemDC&) = delete;
    void SelectBitmap(HBITMAP bmp) {
        HGDIOBJ old = ::SelectObject(m_hdc, bmp);
        if (!m_oldBitmap) m_oldBitmap = old;
    }
    operator HDC() const { return m_hdc; }
private:
    HDC m_hdc;
    HGDIOBJ m_oldBitmap = nullptr;
};

// Owner of one GDI object (pen, brush, bitmap, font, region).
template <class H>
class CGdiHandle {
public:
    explicit CGdiHandle(H h = nullptr) : m_h(h) {}
    ~CGdiHandle() { Reset(); }
    CGdiHandle(const CGdiHandle&) = delete;
    CGdiHandle& operator=(const CGdiHandle&) = delete;
    void Reset(H h = nullptr) { if (m_h) ::DeleteObject(m_h); m_h = h; }
    H Release() { H h = m_h; m_h = nullptr; return h; }
    H Get() const { return m_h; }
    operator H() const { return m_h; }
private:
    H m_h;
};

// Selects an object into a DC for the life of the scope.
class CSelect {
public:
    CSelect(HDC hdc, HGDIOBJ obj) : m_hdc(hdc), m_old(::SelectObject(hdc, obj)) {}
    ~CSelect() { ::SelectObject(m_hdc, m_old); }
    CSelect(const CSelect&) = delete;
    CSelect& operator=(const CSelect&) = delete;
private:
    HDC m_hdc;
    HGDIOBJ m_old;
};
