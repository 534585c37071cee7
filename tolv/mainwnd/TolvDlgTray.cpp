// The tray icon of the main window and its menu.
#include "mainwnd/TolvDlg.h"
#include "mainwnd/Messages.h"
#include "mainwnd/TrayIcon.h"
#include "res/resource.h"

void CTolvDlg::AddTrayIcon()
{
    TrayAddIcon(m_hWnd, m_hIcon, WM_TRAY_NOTIFY);
}

void CTolvDlg::OnTaskbarCreated()
{
    // The shell lost its icons when it restarted: put ours back.
    TrayReAddIcon();
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
    TrayDeleteIcon();
    ::PostQuitMessage(0);
}
