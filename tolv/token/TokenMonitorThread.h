#pragma once
#include <windows.h>

// Watches the Huahong component for key events, once a second, until the
// program stops.
DWORD WINAPI TokenMonitorThread(LPVOID);
