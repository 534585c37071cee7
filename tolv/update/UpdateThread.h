#pragma once
#include <windows.h>

// Refreshes the news file and offers a newer version every 40 seconds,
// until the program stops.
DWORD WINAPI UpdateThread(LPVOID);
