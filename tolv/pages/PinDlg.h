// CPinDlg: the PIN change window, a borderless pop-up owned by the main
// window.  Its close button only hides it; the main window shows it again.
#pragma once

#include "pages/PageDlg.h"
#include "skin/SkinBtn.h"

#include <string>

class CPinDlg : public CPageDlg {
public:
    CPinDlg();

protected:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void OnCloseButton();

    CSkinBtn m_btnClose;
};
