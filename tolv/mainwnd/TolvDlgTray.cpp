// The tray icon of the main window and its menu.
#include "mainwnd/TolvDlg.h"
#include "mainwnd/Messages.h"
#include "res/resource.h"

#include <cstring>

NOTIFYICONDATAA g_nid = {};

namespace {
const UINT kTrayIconId = 128;
const char kTrayTip[] = "VeltraCA证书助手";
}

void CTolvDlg::AddTrayIcon()
{
    g_nid.cbSize = NOTIFYICONDATAA_V2_SIZE;
    g_nid.hWnd = m_hWnd;
    g_nid.uID = kTrayIconId;
    g_nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO;
    g_nid.uCallbackMessage = WM_TRAY_NOTIFY;
    g_nid.hIcon = m_hIcon;
    std::strncpy(g_nid.szTip, kTrayTip, sizeof(g_nid.szTip) - 1);
    ::Shell_NotifyIconA(NIM_ADD, &g_nid);
}

LRESULT CTolvDlg::OnTrayNotify(WPARAM, LPARAM lp)
{
    switch (static_cast<UINT>(lp)) {
    case WM_LBUTTONDOWN:
        ::SetForegroundWindow(m_hWnd);
        ::SendMessageA(m_hWnd, WM_CERT_REFRESH, 0, 0);
        break;
    case WM_LBUTTONDBLCLK:
        ShowWindow(SW_SHOWNORMAL);
        break;
    case WM_RBUTTONDOWN:
        ShowTrayMenu();
        break;
    }
    return 0;
}

void CTolvDlg::ShowTrayMenu()
{
    HMENU menu = ::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TRAYMENU));
    if (!menu) return;
    HMENU popup = ::GetSubMenu(menu, 0);
    if (IsIconic())
        ::EnableMenuItem(popup, ID_TRAY_MINIMIZE, MF_BYCOMMAND | MF_DISABLED | MF_GRAYED);
    if (!IsWindowVisible())
        ::EnableMenuItem(popup, ID_TRAY_HIDE, MF_BYCOMMAND | MF_DISABLED | MF_GRAYED);
    else if (!IsIconic())
        ::EnableMenuItem(popup, ID_TRAY_SHOW, MF_BYCOMMAND | MF_DISABLED | MF_GRAYED);

    POINT pt;
    ::GetCursorPos(&pt);
    // The menu closes when the user clicks elsewhere only if the window
    // owning it is in the foreground.
    ::SetForegroundWindow(m_hWnd);
    ::TrackPopupMenu(popup, TPM_RIGHTBUTTON, pt.x, pt.y, 0, m_hWnd, nullptr);
    ::DestroyMenu(menu);
}

void CTolvDlg::OnTrayExit()
{
    ::Shell_NotifyIconA(NIM_DELETE, &g_nid);
    ::PostQuitMessage(0);
}
