// CPageDlg: what the program's pages have in common.  A white background,
// static texts in the page blue on a transparent background, and no key
// that closes the page: Enter and Escape addressed to the page or one of
// its controls are swallowed before the dialog sees them.
#pragma once

#include "ui/Dialog.h"

class CSkinBtn;

class CPageDlg : public CDialog {
public:
    explicit CPageDlg(UINT templateId) : CDialog(templateId) {}

    BOOL PreTranslateMessage(MSG* msg) override;

    // The colour answer the pages share for WM_CTLCOLORSTATIC.
    static HBRUSH PageStaticColor(HDC hdc);

protected:
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    // True for the key-downs this page swallows (Enter and Escape).
    virtual bool IsSwallowedKey(WPARAM key) const { return key == VK_RETURN || key == VK_ESCAPE; }
    // Default erase, then white.
    LRESULT EraseWhite(HDC hdc);
    // The close cross of the pop-up pages, command 102 at the top right.
    void CreateCloseButton(CSkinBtn& button);
};
