// Looking at another process's windows the way a user (or a screen reader)
// would: find them, read their state and text, press their buttons,
// capture their pixels.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace probe {

// Polls pred every 20 ms until it holds or timeoutMs has passed.
bool WaitUntil(const std::function<bool()>& pred, DWORD timeoutMs = 5000);

// Lets the target thread handle what was posted to it.
void Settle(HANDLE process, DWORD ms = 150);

// Top-level windows of a process, optionally of one window class.
std::vector<HWND> TopLevelWindows(DWORD pid, const char* className = nullptr);

std::string WindowText(HWND hwnd);
std::string ClassName(HWND hwnd);
RECT ClientRectOnScreen(HWND hwnd);

// A message box shown by a process: its caption and text.
struct MessageBoxInfo {
    HWND hwnd = nullptr;
    std::string caption;
    std::string text;
};
MessageBoxInfo FindMessageBox(DWORD pid, DWORD timeoutMs = 5000);
void ClickMessageBoxOk(HWND box);

// The window of another thread that has the keyboard focus.
HWND FocusOf(HWND anyWindowOfThread);

// The rows of a list-view control of another process, each with its
// columns' texts.
std::vector<std::vector<std::string>> ListViewRows(HWND list, int columns);
// The screen rectangle of one row (LVIR_BOUNDS).
RECT ListViewRowRect(HWND list, int row);

// Real mouse input (as the system delivers it to whatever window is under
// the pointer): move to a screen point, optionally with button flags
// (MOUSEEVENTF_LEFTDOWN ...), and a whole left click.
void MouseAt(POINT pt, DWORD buttonFlags = 0);
void MouseClick(POINT pt);

// Synchronous press of a button (does not return until the click has
// been handled).  Use PostClick for a button that opens a modal window.
bool Click(HWND button);
void PostClick(HWND button);

// Pixels of a screen rectangle, 0x00RRGGBB, row by row.
struct Pixels {
    int width = 0, height = 0;
    std::vector<unsigned> data;
    unsigned At(int x, int y) const { return data[static_cast<size_t>(y) * width + x]; }
};
Pixels CaptureScreen(const RECT& rc);
// A bitmap of a module's resources drawn the way a skinned button draws
// it onto width x height (shrunk when larger, top-left when smaller, over
// the given background).
Pixels RenderBitmap(HMODULE module, UINT id, int width, int height, const Pixels* background);
// Mean absolute difference per channel, 0..255.
double Difference(const Pixels& a, const Pixels& b);
bool SaveBmp(const Pixels& pixels, const std::string& path);

}  // namespace probe
