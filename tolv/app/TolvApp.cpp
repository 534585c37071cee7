#include "app/TolvApp.h"
#include "app/ShutdownGate.h"
#include "mainwnd/TolvDlg.h"

#include <objbase.h>

namespace {
const char kMutexName[] = "TolvMutex";
const char kWindowProp[] = "TOLV";
const char kNoMainWindow[] = "已有一个实例在运行，但找不到它的主窗口！";
// Workers get this long to finish what they are doing at exit.
const DWORD kStopTimeoutMs = 5000;
}

CTolvApp::~CTolvApp()
{
    ::CoUninitialize();
}

BOOL CTolvApp::InitInstance()
{
    // The mutex stays open (and held) until the process ends.
    HANDLE mutex = ::CreateMutexA(nullptr, FALSE, kMutexName);
    DWORD error = ::GetLastError();
    if (error == ERROR_ALREADY_EXISTS) {
        if (mutex) ::CloseHandle(mutex);
        ActivateRunningCopy();
        return FALSE;
    }

    {
        CTolvDlg dlg;
        m_pMainWnd = &dlg;
        dlg.DoModal();
        m_pMainWnd = nullptr;
    }
    // The main window is gone; stop the workers before the process-wide
    // objects they use are destroyed.
    // A worker stuck in a vendor call past the timeout must not see those
    // objects destroyed under it: end the process without running them down.
    if (!g_shutdownGate.StopAndWait(kStopTimeoutMs))
        ::TerminateProcess(::GetCurrentProcess(), 0);
    return FALSE;
}

void CTolvApp::ActivateRunningCopy()
{
    for (HWND hwnd = ::GetWindow(::GetDesktopWindow(), GW_CHILD); ::IsWindow(hwnd);
         hwnd = ::GetWindow(hwnd, GW_HWNDNEXT)) {
        if (::GetPropA(hwnd, kWindowProp)) {
            ::ShowWindow(hwnd, SW_RESTORE);
            ::SetForegroundWindow(hwnd);
            return;
        }
    }
    AfxMessageBox(kNoMainWindow, MB_OK | MB_ICONINFORMATION);
}
