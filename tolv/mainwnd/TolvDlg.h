// CTolvDlg: the main window.  A borderless skinned dialog with a banner,
// four page buttons, close and minimise buttons, a right-hand panel of
// three action buttons and a page area: page 0 (the certificate list) is
// drawn on the window itself, pages 1 to 3 are child dialogs over it.
//
// The handlers live in several files of this class: TolvDlg.cpp (message
// map, initialisation, window behaviour), TolvDlgPages.cpp (page switching
// and the windows the panel opens), TolvDlgPaint.cpp (skin), TolvDlgTray.cpp
// (tray icon and menu), TolvDlgCerts.cpp (certificate list and details).
#pragma once

#include "ui/Controls.h"
#include "ui/Dialog.h"
#include "skin/HyperLink.h"
#include "skin/SkinBtn.h"
#include "certs/CertRules.h"

#include <wincrypt.h>
#include <string>
#include <vector>

#include <shellapi.h>

class CCheckDlg;
class CUpgradeDlg;
class CSettingDlg;
class CPinDlg;

class CTolvDlg : public CDialog {
public:
    CTolvDlg();
    ~CTolvDlg() override;

    BOOL DestroyWindow() override;
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    // Window behaviour
    void OnSysCommand(WPARAM id, LPARAM lp);
    void OnLButtonDown();
    void OnNcPaint();
    void OnCloseButton();
    void OnMinButton();
    void OnRenew();
    bool OnCommand(WORD id, WORD code);

    // Pages and panel (TolvDlgPages.cpp)
    void CreatePages();
    void SelectPage(int page);
    void ShowPage();
    void SetCertControlsVisible(bool show);
    void OnPinButton();
    void OnServiceButton();

    // Skin (TolvDlgPaint.cpp)
    void CreateSkinButtons();
    LRESULT OnEraseBkgnd(HDC hdc);
    void OnPaint();
    HBRUSH OnCtlColor(HDC hdc, HWND control, LRESULT defaultResult);

    // Tray (TolvDlgTray.cpp)
    void AddTrayIcon();
    LRESULT OnTrayNotify(WPARAM wp, LPARAM lp);
    void ShowTrayMenu();
    void OnTrayExit();
    void OnTaskbarCreated();

    // Certificates (TolvDlgCerts.cpp)
    void InitCertList();
    LRESULT OnCertRefresh();
    void OnRefresh();
    void LoadCertificates();
    void FillCertList();
    void AddCertRow(const certs::CertRow& row, int index);
    static certs::CertKind GetCertKind(PCERT_INFO info);
    static std::string GetExtensionText(const char* oid, PCCERT_CONTEXT cert);
    LRESULT ShowCertDetails(const std::string& holder);
    LRESULT OnCertListClick();

public:
    int m_nPage = 0;
    BOOL m_bCertShown = TRUE;

private:
    HICON m_hIcon = nullptr;
    CSkinBtn m_btnClose, m_btnMin, m_btnCert, m_btnCheck, m_btnUpgrade, m_btnSetting;
    CSkinBtn m_btnPin, m_btnRenew, m_btnService;
    CCheckDlg* m_pCheckDlg = nullptr;
    CUpgradeDlg* m_pUpgradeDlg = nullptr;
    CSettingDlg* m_pSettingDlg = nullptr;
    CPinDlg* m_pPinDlg = nullptr;
    CHyperLink m_linkHome;
    CHyperLink m_linkFeedback;
    CListCtrl m_listCert;
    std::vector<certs::CertRow> m_signingRows;
    std::vector<certs::CertRow> m_encryptionRows;
    std::vector<certs::CertRow> m_singleRows;
    HANDLE m_hUpdateThread = nullptr;
    HANDLE m_hMonitorThread = nullptr;
    SIZE m_regionSize = {0, 0};
};
