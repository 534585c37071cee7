// Page switching of the main window and the windows its panel opens.
#include "mainwnd/TolvDlg.h"
#include "pages/CheckDlg.h"
#include "pages/PinDlg.h"
#include "pages/SettingDlg.h"
#include "res/resource.h"
#include "service/ServiceDlg.h"
#include "update/UpgradeDlg.h"

namespace {
// Where the page dialogs sit over the page area, in client pixels.
const int kPageX = 5, kPageY = 111, kPageWidth = 572, kPageHeight = 465;
const int kCertControls[] = {IDC_CERT_LIST, IDC_REFRESH, IDC_CERT_DETAILS};
}

void CTolvDlg::CreatePages()
{
    m_pCheckDlg = new CCheckDlg();
    m_pUpgradeDlg = new CUpgradeDlg();
    m_pSettingDlg = new CSettingDlg();
    CDialog* pages[] = {m_pCheckDlg, m_pUpgradeDlg, m_pSettingDlg};
    const UINT templates[] = {IDD_CHECK, IDD_UPGRADE, IDD_SETTING};
    for (int i = 0; i < 3; ++i) {
        pages[i]->Create(templates[i], this);
        ::MoveWindow(pages[i]->m_hWnd, kPageX, kPageY, kPageWidth, kPageHeight, TRUE);
        pages[i]->ShowWindow(SW_HIDE);
    }
}

void CTolvDlg::SetCertControlsVisible(bool show)
{
    for (int id : kCertControls)
        ::ShowWindow(GetDlgItem(id), show ? SW_SHOW : SW_HIDE);
    m_bCertShown = show ? TRUE : FALSE;
}

void CTolvDlg::SelectPage(int page)
{
    if (page == 0) {
        if (m_nPage != 0 && !m_bCertShown) SetCertControlsVisible(true);
    } else {
        if (m_nPage != page && m_bCertShown) SetCertControlsVisible(false);
    }
    m_nPage = page;
    ShowPage();
}

void CTolvDlg::ShowPage()
{
    CSkinBtn* buttons[] = {&m_btnCert, &m_btnCheck, &m_btnUpgrade, &m_btnSetting};
    for (CSkinBtn* button : buttons) {
        button->m_bSelected = FALSE;
        ::InvalidateRect(button->m_hWnd, nullptr, FALSE);
    }
    buttons[m_nPage]->m_bSelected = TRUE;
    ::InvalidateRect(buttons[m_nPage]->m_hWnd, nullptr, FALSE);

    switch (m_nPage) {
    case 0:
        m_pCheckDlg->ShowWindow(SW_HIDE);
        m_pUpgradeDlg->ShowWindow(SW_HIDE);
        m_pSettingDlg->ShowWindow(SW_HIDE);
        break;
    case 1:
        m_pUpgradeDlg->ShowWindow(SW_HIDE);
        m_pSettingDlg->ShowWindow(SW_HIDE);
        m_pCheckDlg->ShowWindow(SW_SHOW);
        break;
    case 2:
        m_pUpgradeDlg->ShowWindow(SW_SHOW);
        m_pCheckDlg->ShowWindow(SW_HIDE);
        m_pSettingDlg->ShowWindow(SW_HIDE);
        break;
    case 3:
        m_pSettingDlg->ShowWindow(SW_SHOW);
        m_pCheckDlg->ShowWindow(SW_HIDE);
        m_pUpgradeDlg->ShowWindow(SW_HIDE);
        break;
    }
}

void CTolvDlg::OnPinButton()
{
    // One PIN window for the program's life: created on first use, owned by
    // the main window, shown again on later presses.
    if (!m_pPinDlg) {
        m_pPinDlg = new CPinDlg();
        m_pPinDlg->Create(IDD_PIN);
    }
    m_pPinDlg->ShowWindow(SW_SHOW);
}

void CTolvDlg::OnServiceButton()
{
    CServiceDlg dlg;
    dlg.DoModal();
}
