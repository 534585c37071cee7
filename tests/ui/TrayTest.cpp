// The tray icon: clicks, the menu and its states, exit, shell restarts.
#include "harness/Check.h"
#include "ui/TolvUi.h"

#include <shellapi.h>

using namespace tolvui;

namespace {

const UINT kTrayMessage = 1524;

// Wine's stand-alone notification area: a small window at the top left of
// the screen holding the icons.  TOLV's is the only icon, so it sits first.
HWND TrayWindow()
{
    return FindWindowA("__winex11_standalone_tray", nullptr);
}

bool IconShown()
{
    HWND tray = TrayWindow();
    return tray && IsWindowVisible(tray);
}

POINT IconPoint()
{
    RECT rc = {};
    GetWindowRect(TrayWindow(), &rc);
    POINT pt = {rc.left + 13, rc.bottom - 13};
    return pt;
}

void ClickIcon(DWORD down, DWORD up)
{
    POINT pt = IconPoint();
    probe::MouseAt(pt, 0);
    Sleep(30);
    probe::MouseAt(pt, down);
    Sleep(30);
    probe::MouseAt(pt, up);
}

// The menu TrackPopupMenu shows.  A click that reaches the tray before it
// is ready is repeated.
HWND OpenMenu(DWORD pid)
{
    HWND popup = nullptr;
    for (int attempt = 0; attempt < 3 && !popup; ++attempt) {
        ClickIcon(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
        probe::WaitUntil([&] {
            for (HWND w : probe::TopLevelWindows(pid, "#32768"))
                if (IsWindowVisible(w)) popup = w;
            return popup != nullptr;
        }, 1500);
    }
    ParkCursor();
    Sleep(100);
    return popup;
}

void CloseMenu(HWND popup)
{
    PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
    probe::WaitUntil([&] { return !IsWindowVisible(popup); }, 2000);
}

// Menus cannot be read from another process here: read what the user sees.
// An item drawn with dark text is enabled, one in grey only is grayed.
std::vector<bool> EnabledRows(HWND popup, int rows)
{
    RECT rc;
    GetWindowRect(popup, &rc);
    probe::Pixels px = probe::CaptureScreen(rc);
    const int border = 3;
    const int rowHeight = (px.height - 2 * border) / rows;
    std::vector<bool> enabled;
    for (int r = 0; r < rows; ++r) {
        int dark = 0;
        for (int y = border + r * rowHeight; y < border + (r + 1) * rowHeight; ++y)
            for (int x = border; x < px.width - border; ++x) {
                unsigned c = px.At(x, y);
                if (((c >> 16) & 0xFF) < 70 && ((c >> 8) & 0xFF) < 70 && (c & 0xFF) < 70) ++dark;
            }
        enabled.push_back(dark > 10);
    }
    return enabled;
}

}  // namespace

TEST(TrayMenuItemsFollowTheWindowState)
{
    TolvProcess tolv;
    HWND main = StartAside(tolv);
    CHECK(main != nullptr);
    if (!main) return;
    CHECK(probe::WaitUntil(IconShown)) << "no tray icon";
    struct Case {
        const char* state;
        void (*enter)(const TolvProcess&);
        bool showGrayed, hideGrayed, minimiseGrayed;
    };
    const Case cases[] = {
        {"visible", [](const TolvProcess&) {}, true, false, false},
        {"visible, minimised", [](const TolvProcess& t) { probe::Click(t.Item(kBtnMin)); }, false, false, true},
        {"hidden", [](const TolvProcess& t) { SendCommand(t.main, kTrayHide); }, false, true, false},
        {"hidden and minimised", [](const TolvProcess& t) { probe::Click(t.Item(kBtnClose)); }, false, true, true},
    };
    for (const Case& c : cases) {
        SendCommand(main, kTrayShow);
        c.enter(tolv);
        probe::Settle(tolv.pi.hProcess);
        HWND popup = OpenMenu(tolv.pi.dwProcessId);
        CHECK(popup != nullptr) << c.state;
        if (!popup) continue;
        // Rows: show, hide, refresh, minimise, exit.
        std::vector<bool> enabled = EnabledRows(popup, 5);
        CHECK_EQ(enabled[0], !c.showGrayed) << c.state;
        CHECK_EQ(enabled[1], !c.hideGrayed) << c.state;
        CHECK(enabled[2]) << c.state;
        CHECK_EQ(enabled[3], !c.minimiseGrayed) << c.state;
        CHECK(enabled[4]) << c.state;
        RECT rc;
        GetWindowRect(popup, &rc);
        if (c.showGrayed)
            probe::SaveBmp(probe::CaptureScreen(rc), check::Option("screens", "C:") + "\\traymenu.bmp");
        CloseMenu(popup);
    }
}

TEST(TrayClicksShowTheWindowOnlyOnDoubleClick)
{
    TolvProcess tolv;
    HWND main = StartAside(tolv);
    CHECK(main != nullptr);
    if (!main) return;
    CHECK(probe::WaitUntil(IconShown)) << "no tray icon";
    struct Case {
        const char* state;
        void (*enter)(const TolvProcess&);
    };
    const Case cases[] = {
        {"hidden", [](const TolvProcess& t) { SendCommand(t.main, kTrayHide); }},
        {"minimised", [](const TolvProcess& t) { probe::Click(t.Item(kBtnMin)); }},
        {"hidden and minimised", [](const TolvProcess& t) { probe::Click(t.Item(kBtnClose)); }},
    };
    for (const Case& c : cases) {
        c.enter(tolv);
        probe::Settle(tolv.pi.hProcess);
        bool visible = IsWindowVisible(main) != FALSE, iconic = IsIconic(main) != FALSE;
        // A single click leaves the window as it is.
        ClickIcon(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
        probe::Settle(tolv.pi.hProcess, 600);
        CHECK_EQ(IsWindowVisible(main) != FALSE, visible) << c.state;
        CHECK_EQ(IsIconic(main) != FALSE, iconic) << c.state;
        // A double click brings it up in its normal size.
        ClickIcon(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
        Sleep(50);
        ClickIcon(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
        CHECK(probe::WaitUntil([&] { return IsWindowVisible(main) && !IsIconic(main); }, 3000)) << c.state;
    }
    ParkCursor();
}

TEST(ExitRemovesTheIconAndEndsTheProgram)
{
    TolvProcess tolv;
    CHECK(tolv.Start());
    HWND main = tolv.WaitMainWindow();
    if (!main) return;
    CHECK(probe::WaitUntil(IconShown)) << "no tray icon";
    // Ended from the tray menu itself, with the window hidden.
    SendCommand(main, kTrayHide);
    HWND popup = OpenMenu(tolv.pi.dwProcessId);
    CHECK(popup != nullptr);
    if (popup) {
        RECT rc;
        GetWindowRect(popup, &rc);
        const int rowHeight = (rc.bottom - rc.top - 6) / 5;
        POINT exitItem = {(rc.left + rc.right) / 2, rc.top + 3 + rowHeight * 4 + rowHeight / 2};
        probe::MouseAt(exitItem, 0);
        Sleep(50);
        probe::MouseAt(exitItem, MOUSEEVENTF_LEFTDOWN);
        probe::MouseAt(exitItem, MOUSEEVENTF_LEFTUP);
    }
    CHECK(tolv.WaitExit(5000)) << "still running after 退出";
    CHECK_EQ(tolv.ExitCode(), DWORD(0));
    CHECK(probe::WaitUntil([] { return !IconShown(); }, 3000)) << "icon left behind";
    ParkCursor();
}

TEST(IconComesBackWhenTheShellRestarts)
{
    TolvProcess tolv;
    CHECK(tolv.Start());
    HWND main = tolv.WaitMainWindow();
    if (!main) return;
    CHECK(probe::WaitUntil(IconShown)) << "no tray icon";

    // The shell forgets the icon, as when it restarts ...
    NOTIFYICONDATAA nid = {};
    nid.cbSize = NOTIFYICONDATAA_V2_SIZE;
    nid.hWnd = main;
    nid.uID = 128;
    CHECK(Shell_NotifyIconA(NIM_DELETE, &nid));
    CHECK(probe::WaitUntil([] { return !IconShown(); }, 3000));
    // ... and announces itself again.
    PostMessageA(main, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    CHECK(probe::WaitUntil(IconShown, 3000)) << "icon not added again";
}
