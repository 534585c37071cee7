// Shared knowledge of TOLV's main window for the UI tests.
#pragma once

#include "harness/TolvProcess.h"
#include "harness/WinProbe.h"

#include <string>

namespace tolvui {

// Control ids of the main window.
enum {
    kBtnClose = 102, kBtnMin = 103, kBtnCert = 106, kBtnCheck = 107, kBtnUpgrade = 109,
    kBtnSetting = 110, kBtnService = 129, kBtnPin = 1078, kBtnRenew = 1079,
    kVersion = 1069, kCertList = 1101, kRefresh = 1102, kCertDetails = 1105,
};
// Tray menu commands.
enum { kTrayShow = 32771, kTrayMinimize = 32772, kTrayExit = 32773, kTrayHide = 32774 };

// The page buttons in page order, with their normal and selected pictures.
struct PageButton {
    int id;
    unsigned normalBitmap;
    unsigned selectedBitmap;
};
extern const PageButton kPageButtons[4];

// Which page dialog is which: a control only that page has.
HWND PageDialog(HWND main, int page);  // page 1..3

// True when the button on screen shows its selected picture rather than
// its normal one.
bool LooksSelected(const TolvProcess& tolv, int buttonId);
// True when the button on screen is closer to picture `expected` than to
// picture `other` (both bitmap ids of TOLV's resources).
bool ShowsPicture(const TolvProcess& tolv, int buttonId, unsigned expected, unsigned other);

void SendCommand(HWND main, int id);
// Saves what the window shows to <--screens>\name.bmp (when given).
void SaveScreenshot(HWND window, const char* name);
// Starts TOLV, waits for its main window and moves it to (x, y): away from
// Wine's tray window at the top left of the screen.  Null when it did not
// come up.
HWND StartAside(TolvProcess& tolv, int x = 300, int y = 200);
// Moves the mouse pointer out of the way of hover effects.
void ParkCursor();

}  // namespace tolvui
