#include "mainwnd/TrayIcon.h"

#include <cstring>

NOTIFYICONDATAA g_nid = {};

namespace {

const UINT kTrayIconId = 128;
const char kTrayTip[] = "VeltraCA证书助手";

SRWLOCK g_nidLock = SRWLOCK_INIT;
TrayNotifyFn g_notify = &Shell_NotifyIconA;

class NidLock {
public:
    NidLock() { AcquireSRWLockExclusive(&g_nidLock); }
    ~NidLock() { ReleaseSRWLockExclusive(&g_nidLock); }
    NidLock(const NidLock&) = delete;
    NidLock& operator=(const NidLock&) = delete;
};

}  // namespace

void SetTrayNotifyForTesting(TrayNotifyFn fn)
{
    NidLock lock;
    g_notify = fn ? fn : &Shell_NotifyIconA;
}

void TrayAddIcon(HWND owner, HICON icon, UINT callbackMessage)
{
    NidLock lock;
    g_nid.cbSize = NOTIFYICONDATAA_V2_SIZE;
    g_nid.hWnd = owner;
    g_nid.uID = kTrayIconId;
    g_nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO;
    g_nid.uCallbackMessage = callbackMessage;
    g_nid.hIcon = icon;
    std::strncpy(g_nid.szTip, kTrayTip, sizeof(g_nid.szTip) - 1);
    g_notify(NIM_ADD, &g_nid);
}

void TrayReAddIcon()
{
    NidLock lock;
    if (g_nid.hWnd) g_notify(NIM_ADD, &g_nid);
}

void TrayDeleteIcon()
{
    NidLock lock;
    g_notify(NIM_DELETE, &g_nid);
}

void RaiseBalloon(const char* text)
{
    NidLock lock;
    g_nid.szInfoTitle[0] = '\0';
    std::strncpy(g_nid.szInfo, text ? text : "", sizeof(g_nid.szInfo) - 1);
    g_nid.szInfo[sizeof(g_nid.szInfo) - 1] = '\0';
    g_nid.dwInfoFlags = NIIF_INFO;
    g_nid.uTimeout = 3;
    g_notify(NIM_MODIFY, &g_nid);
}
