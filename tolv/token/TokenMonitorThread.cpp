#include "token/TokenMonitorThread.h"
#include "app/ShutdownGate.h"

namespace {
const DWORD kPollPeriodMs = 1000;
}

DWORD WINAPI TokenMonitorThread(LPVOID)
{
    while (!g_shutdownGate.WaitForStop(kPollPeriodMs)) {
        // One poll of the component per second.
    }
    return 0;
}
