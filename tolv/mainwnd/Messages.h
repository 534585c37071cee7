// Custom messages of the main window.  Worker threads, device callbacks and
// pages send them with SendMessageA, so each is handled on the UI thread
// while the sender waits.
#pragma once

#include <windows.h>

// Tray icon mouse events (wParam icon id, lParam the mouse message).
const UINT WM_TRAY_NOTIFY = WM_USER + 500;   // 1524
// Rebuild the certificate list (wParam 0, lParam 0).
const UINT WM_CERT_REFRESH = WM_USER + 501;  // 1525
// Verify a Huahong PIN (wParam: std::string* PIN).
const UINT WM_PIN_VERIFY = WM_USER + 502;    // 1526
// Change a Huahong PIN (wParam: std::string* old PIN, lParam: std::string* new PIN).
const UINT WM_PIN_CHANGE = WM_USER + 503;    // 1527
