// Light wrappers of the standard controls: a CWnd with the few calls the
// program's windows make.  A wrapper either creates its control (Create) or
// takes over one of a dialog template (Attach, or SubclassWindow when the
// class handles messages of its own).
#pragma once

#include "ui/Wnd.h"

#include <commctrl.h>
#include <string>

// Text of any window, as the ANSI code page gives it.
std::string GetWindowTextString(HWND hwnd);

class CButton : public CWnd {
public:
    // Creates a push button and binds it to this object.
    BOOL Create(const char* caption, DWORD style, const RECT& rect, CWnd* parent, UINT id);
};

class CEdit : public CWnd {
public:
    std::string GetText() const { return GetWindowTextString(m_hWnd); }
    void SetText(const char* text) const { ::SetWindowTextA(m_hWnd, text); }
};

class CComboBox : public CWnd {
public:
    int AddString(const char* text) const {
        return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
    }
    int InsertString(int index, const char* text) const {
        return static_cast<int>(SendMessage(CB_INSERTSTRING, index, reinterpret_cast<LPARAM>(text)));
    }
    int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int SetCurSel(int index) const { return static_cast<int>(SendMessage(CB_SETCURSEL, index)); }
    std::string GetLBText(int index) const;
};

class CListCtrl : public CWnd {
public:
    int InsertColumn(int index, const char* heading, int format, int width) const;
    int InsertItem(int index, const char* text) const;
    BOOL SetItemText(int item, int subItem, const char* text) const;
    BOOL DeleteAllItems() const { return static_cast<BOOL>(SendMessage(LVM_DELETEALLITEMS)); }
    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    DWORD SetExtendedStyle(DWORD style) const {
        return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style));
    }
};

// Binds a control of a dialog to its wrapper without taking over its
// messages (the wrapper only sends).
inline void AttachControl(CWnd& wrapper, HWND dialog, int id)
{
    wrapper.m_hWnd = ::GetDlgItem(dialog, id);
}
