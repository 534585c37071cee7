#include "mainwnd/TolvDlg.h"
#include "mainwnd/Messages.h"
#include "mainwnd/TrayIcon.h"
#include "app/Deployment.h"
#include "app/Globals.h"
#include "app/ShutdownGate.h"
#include "pages/CheckDlg.h"
#include "pages/PinDlg.h"
#include "pages/SettingDlg.h"
#include "res/resource.h"
#include "token/HaiTaiDevice.h"
#include "token/TokenMonitorThread.h"
#include "update/UpgradeDlg.h"
#include "update/UpdateThread.h"

namespace {

const char kWindowProp[] = "TOLV";
const char kWindowTitle[] = "VeltraCA证书助手";
const char kAutorunSwitch[] = "-autorun";

// Broadcast by the shell when it starts (again).
const UINT s_taskbarCreated = ::RegisterWindowMessageA("TaskbarCreated");

// Frame paints still to hide after a start with "-autorun": the one when the
// visible dialog is created and the one when the modal loop shows it.
LONG g_autorunHides = 2;

std::string ToAnsi(const wchar_t* text)
{
    int size = ::WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return std::string();
    std::string result(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text, -1, &result[0], size, nullptr, nullptr);
    result.resize(static_cast<size_t>(size) - 1);
    return result;
}

HANDLE StartWorker(LPTHREAD_START_ROUTINE procedure)
{
    HANDLE thread = ::CreateThread(nullptr, 0, procedure, nullptr, 0, nullptr);
    g_shutdownGate.AddThread(thread);
    return thread;
}

}  // namespace

CTolvDlg::CTolvDlg() : CDialog(IDD_TOLV_DIALOG)
{
    m_hIcon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
}

CTolvDlg::~CTolvDlg()
{
    delete m_pCheckDlg;
    delete m_pUpgradeDlg;
    delete m_pSettingDlg;
    delete m_pPinDlg;
    if (m_hUpdateThread) ::CloseHandle(m_hUpdateThread);
    if (m_hMonitorThread) ::CloseHandle(m_hMonitorThread);
}

void CTolvDlg::DoDataExchange()
{
    AttachControl(m_listCert, m_hWnd, IDC_CERT_LIST);
}

// ------------------------------------------------------------ message map

bool CTolvDlg::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    switch (msg) {
    case WM_SYSCOMMAND:
        if ((wp & 0xFFF0) == IDM_ABOUTBOX) return true;  // About: nothing to show
        return false;
    case WM_PAINT:            OnPaint(); return true;
    case WM_QUERYDRAGICON:    result = reinterpret_cast<LRESULT>(m_hIcon); return true;
    case WM_LBUTTONDOWN:      OnLButtonDown(); result = Default(); return true;
    case WM_ERASEBKGND:       result = OnEraseBkgnd(reinterpret_cast<HDC>(wp)); return true;
    case WM_CTLCOLORSTATIC:
        result = reinterpret_cast<LRESULT>(OnCtlColor(reinterpret_cast<HDC>(wp),
                                                      reinterpret_cast<HWND>(lp), Default()));
        return true;
    case WM_COMMAND:          return OnCommand(LOWORD(wp), HIWORD(wp));
    case WM_NOTIFY: {
        const NMHDR* hdr = reinterpret_cast<const NMHDR*>(lp);
        if (hdr->idFrom == IDC_CERT_LIST && hdr->code == NM_CLICK) {
            result = OnCertListClick();
            return true;
        }
        return false;
    }
    case WM_DESTROY:          result = Default(); ::RemovePropA(m_hWnd, kWindowProp); return true;
    case WM_NCPAINT:          OnNcPaint(); return true;
    case WM_CLOSE:            ShowWindow(SW_HIDE); return true;
    }
    if (msg == WM_TRAY_NOTIFY)  { result = OnTrayNotify(wp, lp); return true; }
    if (msg == WM_CERT_REFRESH) { result = OnCertRefresh(); return true; }
    if (msg == s_taskbarCreated && msg != 0) { OnTaskbarCreated(); return true; }
    return false;
}

bool CTolvDlg::OnCommand(WORD id, WORD code)
{
    if (code != BN_CLICKED) return false;  // menu commands arrive with code 0 too
    switch (id) {
    case ID_TRAY_SHOW:      ShowWindow(SW_SHOWNORMAL); return true;
    case ID_TRAY_HIDE:      ShowWindow(SW_HIDE); return true;
    case ID_TRAY_EXIT:      OnTrayExit(); return true;
    case ID_TRAY_MINIMIZE:  ShowWindow(SW_MINIMIZE); return true;
    case ID_TRAY_REFRESH:
    case IDC_REFRESH:       OnRefresh(); return true;
    case IDC_BTN_CLOSE:     OnCloseButton(); return true;
    case IDC_BTN_MIN:       OnMinButton(); return true;
    case IDC_BTN_CERT:      SelectPage(0); return true;
    case IDC_BTN_CHECK:     SelectPage(1); return true;
    case IDC_BTN_UPGRADE:   SelectPage(2); return true;
    case IDC_BTN_SETTING:   SelectPage(3); return true;
    case IDC_BTN_PIN:       OnPinButton(); return true;
    case IDC_BTN_RENEW:     OnRenew(); return true;
    case IDC_BTN_SERVICE:   OnServiceButton(); return true;
    }
    return false;
}

// ------------------------------------------------------------ initialisation

BOOL CTolvDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    if (HMENU sysMenu = ::GetSystemMenu(m_hWnd, FALSE)) {
        char about[256] = "";
        ::LoadStringA(::GetModuleHandleA(nullptr), IDS_ABOUTBOX, about, sizeof(about));
        if (about[0]) {
            ::AppendMenuA(sysMenu, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuA(sysMenu, MF_STRING, IDM_ABOUTBOX, about);
        }
    }

    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    ::SetPropA(m_hWnd, kWindowProp, reinterpret_cast<HANDLE>(1));

    AddTrayIcon();

    InitCertList();
    ::SendMessageA(m_hWnd, WM_CERT_REFRESH, 0, 0);

    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    g_strAppDir = path;
    size_t slash = g_strAppDir.find_last_of('\\');
    if (slash != std::string::npos) g_strAppDir.erase(slash);

    m_hUpdateThread = StartWorker(UpdateThread);
    m_hMonitorThread = StartWorker(TokenMonitorThread);

    ModifyStyle(WS_CAPTION, WS_SYSMENU | WS_MINIMIZEBOX, SWP_FRAMECHANGED);

    CreateSkinButtons();
    CreatePages();

    m_btnCert.m_bSelected = TRUE;
    ::InvalidateRect(m_btnCert.m_hWnd, nullptr, FALSE);

    m_linkHome.Attach(GetDlgItem(IDC_LINK_HOME));
    m_linkHome.SetNoUnderline(1);
    m_linkHome.SetURL(deployment::kHomeHost);

    m_linkFeedback.Attach(GetDlgItem(IDC_LINK_FEEDBACK));
    m_linkFeedback.SetColors(RGB(255, 255, 255), RGB(255, 255, 255), RGB(0, 0, 0));
    m_linkFeedback.SetNoUnderline(1);
    m_linkFeedback.SetURL(deployment::kFeedbackUrl);

    char version[260] = "";
    std::string newsFile = g_strAppDir + "\\res\\news.ini";
    ::GetPrivateProfileStringA("助手版本", "TOLV", "0", version, sizeof(version), newsFile.c_str());
    ::SetDlgItemTextA(m_hWnd, IDC_VERSION, version);

    ::SetWindowTextA(m_hWnd, kWindowTitle);

    // The return value only tells whether the system sets the default focus.
    return g_haiTaiDevice.Bind() ? TRUE : FALSE;
}

// ------------------------------------------------------------ window behaviour

BOOL CTolvDlg::PreTranslateMessage(MSG* msg)
{
    // No key closes or steers the main window: Enter, Escape, Tab, arrows,
    // letters, digits and the keypad are dropped here.
    if (msg->message == WM_KEYDOWN && msg->wParam >= 0x01 && msg->wParam <= 0x6F)
        return TRUE;
    return CDialog::PreTranslateMessage(msg);
}

void CTolvDlg::OnLButtonDown()
{
    // A press on the window's own surface drags it like a caption would.
    ::PostMessageA(m_hWnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void CTolvDlg::OnNcPaint()
{
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (!argv) return;
    bool matched = false;
    for (int i = 0; i < argc; ++i) {
        if (ToAnsi(argv[i]) != kAutorunSwitch) continue;
        matched = true;
        if (g_autorunHides-- > 0)
            ShowWindow(SW_HIDE);
        else
            Default();
    }
    ::LocalFree(argv);
    if (!matched) Default();
}

void CTolvDlg::OnCloseButton()
{
    ShowWindow(SW_MINIMIZE);
    ShowWindow(SW_HIDE);
}

void CTolvDlg::OnMinButton()
{
    ShowWindow(SW_MINIMIZE);
}

void CTolvDlg::OnRenew()
{
    ::ShellExecuteA(nullptr, "open", deployment::kRenewalUrl, nullptr, nullptr, SW_SHOW);
}

BOOL CTolvDlg::DestroyWindow()
{
    TrayDeleteIcon();
    return CDialog::DestroyWindow();
}
