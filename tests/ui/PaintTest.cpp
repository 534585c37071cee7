// What the main window looks like: pixel probes on the screen.
#include "harness/Check.h"
#include "ui/TolvUi.h"

using namespace tolvui;

namespace {

unsigned Rgb(int r, int g, int b) { return (unsigned(r) << 16) | (unsigned(g) << 8) | unsigned(b); }

bool IsWhite(unsigned c) { return ((c >> 16) & 0xFF) > 235 && ((c >> 8) & 0xFF) > 235 && (c & 0xFF) > 235; }

}  // namespace

TEST(MainWindowWearsItsSkin)
{
    TolvProcess tolv;
    HWND main = StartAside(tolv, 100, 80);
    CHECK(main != nullptr);
    if (!main) return;
    RECT client = probe::ClientRectOnScreen(main);
    probe::Pixels px = probe::CaptureScreen(client);
    CHECK_EQ(px.width, 846);
    if (px.width != 846 || px.height != 600) return;

    const unsigned frame = Rgb(45, 145, 238), separator = Rgb(180, 180, 180);
    // The frame of the certificate area, its four sides.
    for (int x = 20; x < 565; x += 25) {
        CHECK_EQ(px.At(x, 164), frame) << "top side at x " << x;
        CHECK_EQ(px.At(x, 549), frame) << "bottom side at x " << x;
    }
    for (int y = 168; y < 548; y += 20) {
        CHECK_EQ(px.At(15, y), frame) << "left side at y " << y;
        CHECK_EQ(px.At(568, y), frame) << "right side at y " << y;
    }
    // The separator between the page area and the panel.
    for (int y = 115; y < 577; y += 30) CHECK_EQ(px.At(576, y), separator) << "separator at y " << y;

    // The banner across the top is the banner picture.
    HMODULE exe = LoadLibraryExA(TolvProcess::ExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    probe::Pixels banner = probe::RenderBitmap(exe, 133, 849, 111, nullptr);
    if (exe) FreeLibrary(exe);
    int same = 0, probes = 0;
    for (int y = 5; y < 105; y += 7)
        for (int x = 20; x < 480; x += 13, ++probes) same += px.At(x, y) == banner.At(x, y);
    CHECK(same > probes * 9 / 10) << same << " of " << probes << " banner probes match";

    // White version text on the dark bottom bar.
    RECT version;
    GetWindowRect(tolv.Item(kVersion), &version);
    MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&version), 2);
    int white = 0;
    for (int y = version.top; y < version.bottom; ++y)
        for (int x = version.left; x < version.right; ++x) white += IsWhite(px.At(x, y));
    CHECK(white > 5) << "no white text in the version label";
    CHECK(!IsWhite(px.At(version.right + 20, 588))) << "bottom bar is not dark";

    // Rounded corners: the top-left pixel row and column are outside.
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    CHECK(GetWindowRgn(main, region) != ERROR);
    for (POINT outside : {POINT{0, 0}, POINT{0, 300}, POINT{300, 0}, POINT{1, 1}, POINT{845, 599}})
        CHECK(!PtInRegion(region, outside.x, outside.y)) << outside.x << "," << outside.y;
    for (POINT inside : {POINT{5, 5}, POINT{1, 300}, POINT{300, 1}, POINT{844, 300}, POINT{838, 595}})
        CHECK(PtInRegion(region, inside.x, inside.y)) << inside.x << "," << inside.y;
    DeleteObject(region);

    SaveScreenshot(main, "skin");
}

TEST(MinimisedAndRestoredWindowPaintsItsSkinAgain)
{
    TolvProcess tolv;
    HWND main = StartAside(tolv, 100, 80);
    CHECK(main != nullptr);
    if (!main) return;
    probe::Pixels before = probe::CaptureScreen(probe::ClientRectOnScreen(main));
    CHECK(probe::Click(tolv.Item(kBtnMin)));
    CHECK(probe::WaitUntil([&] { return IsIconic(main) != FALSE; }));
    ShowWindow(main, SW_RESTORE);
    CHECK(probe::WaitUntil([&] { return !IsIconic(main); }));
    probe::Settle(tolv.pi.hProcess, 400);
    probe::Pixels after = probe::CaptureScreen(probe::ClientRectOnScreen(main));
    CHECK(probe::Difference(before, after) < 1.0) << probe::Difference(before, after);
}
