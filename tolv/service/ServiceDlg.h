// CServiceDlg: the customer service contacts, run modally from the main
// window's panel.  Its close button and Escape end it; Enter does nothing.
#pragma once

#include "pages/PageDlg.h"
#include "skin/SkinBtn.h"

class CServiceDlg : public CPageDlg {
public:
    CServiceDlg();

protected:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    bool IsSwallowedKey(WPARAM key) const override { return key == VK_RETURN; }

private:
    CSkinBtn m_btnClose;
};
