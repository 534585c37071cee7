// The skinned buttons and the window's own surface under a real mouse.
#include "harness/Check.h"
#include "ui/TolvUi.h"

using namespace tolvui;

namespace {

POINT CentreOf(HWND hwnd)
{
    RECT rc;
    GetWindowRect(hwnd, &rc);
    return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

void MoveMouse(POINT pt) { probe::MouseAt(pt); }

void MouseButton(bool down)
{
    POINT pt;
    GetCursorPos(&pt);
    probe::MouseAt(pt, down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
}

const unsigned kPinNormal = 265, kPinHover = 266;

}  // namespace

TEST(SkinButtonShowsHoverWhileTheMouseIsOverIt)
{
    TolvProcess tolv;
    ParkCursor();
    CHECK(tolv.Start());
    HWND main = tolv.WaitMainWindow();
    if (!main) return;
    HWND pin = tolv.Item(kBtnPin);

    MoveMouse(CentreOf(pin));
    CHECK(probe::WaitUntil([&] { return ShowsPicture(tolv, kBtnPin, kPinHover, kPinNormal); }, 2000))
        << "no hover picture with the mouse over the button";

    // Leaving is noticed by a 10 ms poll.
    MoveMouse({CentreOf(pin).x, 700});
    CHECK(probe::WaitUntil([&] { return ShowsPicture(tolv, kBtnPin, kPinNormal, kPinHover); }, 500))
        << "hover picture stayed after the mouse left";

    // A disabled button keeps its normal picture and ignores the mouse;
    // enabled again, it follows the mouse again.
    EnableWindow(pin, FALSE);
    probe::Settle(tolv.pi.hProcess);
    MoveMouse(CentreOf(pin));
    probe::Settle(tolv.pi.hProcess, 300);
    CHECK(ShowsPicture(tolv, kBtnPin, kPinNormal, kPinHover)) << "disabled button shows hover";
    MoveMouse({CentreOf(pin).x, 700});
    EnableWindow(pin, TRUE);
    probe::Settle(tolv.pi.hProcess);
    MoveMouse(CentreOf(pin));
    CHECK(probe::WaitUntil([&] { return ShowsPicture(tolv, kBtnPin, kPinHover, kPinNormal); }, 2000))
        << "no hover after enabling again";

    // The selected page button keeps its selected picture under the mouse.
    MoveMouse(CentreOf(tolv.Item(kBtnCert)));
    probe::Settle(tolv.pi.hProcess, 300);
    CHECK(LooksSelected(tolv, kBtnCert));
    ParkCursor();
}

TEST(PressOnTheWindowSurfaceDragsTheWindow)
{
    TolvProcess tolv;
    ParkCursor();
    CHECK(tolv.Start());
    HWND main = tolv.WaitMainWindow();
    if (!main) return;
    struct Case {
        const char* where;
        int x, y;  // client point where the press starts
        bool moves;
    };
    const Case cases[] = {
        {"page area above the list", 300, 140, true},
        {"right-hand panel", 700, 150, true},
        {"refresh button", 470, 218, false},
        {"certificate list", 200, 350, false},
    };
    for (const Case& c : cases) {
        RECT before;
        GetWindowRect(main, &before);
        POINT start = {c.x, c.y};
        ClientToScreen(main, &start);
        MoveMouse(start);
        Sleep(50);
        MouseButton(true);
        for (int step = 1; step <= 8; ++step) {
            MoveMouse({start.x + 5 * step, start.y + 3 * step});
            Sleep(30);
        }
        MouseButton(false);
        probe::Settle(tolv.pi.hProcess, 300);
        RECT after;
        GetWindowRect(main, &after);
        // The system starts the move after the first few pixels; most of the
        // 40 x 24 pixel drag must show.
        int dx = after.left - before.left, dy = after.top - before.top;
        bool moved = dx >= 30 && dx <= 40 && dy >= 16 && dy <= 24;
        CHECK(moved || (dx == 0 && dy == 0)) << c.where << ": moved by " << dx << "," << dy;
        CHECK_EQ(moved, c.moves) << c.where << ": moved by " << dx << "," << dy;
        // Back to where it was for the next case.
        SetWindowPos(main, nullptr, before.left, before.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        probe::Settle(tolv.pi.hProcess);
    }
    ParkCursor();
}
