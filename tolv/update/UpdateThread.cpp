#include "update/UpdateThread.h"
#include "app/ShutdownGate.h"

namespace {
const DWORD kRefreshPeriodMs = 40000;
}

DWORD WINAPI UpdateThread(LPVOID)
{
    while (!g_shutdownGate.WaitForStop(kRefreshPeriodMs)) {
        // One refresh of the news file every 40 s.
    }
    return 0;
}
