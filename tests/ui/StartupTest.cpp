// Start-up of TOLV: the main window, the single-instance rule and the
// hidden start.
#include "harness/CertFixture.h"
#include "harness/Check.h"
#include "ui/TolvUi.h"

#include <cstdio>

using namespace tolvui;

namespace {

const char kVersionSection[] = "助手版本";

std::string NewsFile() { return TolvProcess::InstallDir() + "\\res\\news.ini"; }

bool Hidden(HWND w) { return !IsWindowVisible(w); }
bool ShownNormal(HWND w) { return IsWindowVisible(w) && !IsIconic(w); }

}  // namespace

TEST(NormalStartShowsTheMainWindowOnPageZero)
{
    ParkCursor();
    CreateDirectoryA((TolvProcess::InstallDir() + "\\res").c_str(), nullptr);
    WritePrivateProfileStringA(kVersionSection, "TOLV", "1.0.2015.12021", NewsFile().c_str());
    certfix::SetUserStore({"zhang-sign", "zhang-enc", "li-sign-nr", "qian-noku"});

    TolvProcess tolv;
    CHECK(tolv.Start());
    HWND main = tolv.WaitMainWindow();
    CHECK(main != nullptr);
    if (!main) return;

    CHECK(ShownNormal(main));
    RECT client = {};
    GetClientRect(main, &client);
    CHECK_EQ(client.right, 846);
    CHECK_EQ(client.bottom, 600);
    CHECK_EQ(probe::WindowText(main), std::string("VeltraCA证书助手"));
    LONG style = GetWindowLongA(main, GWL_STYLE);
    CHECK(!(style & WS_CAPTION)) << "style " << std::hex << style;
    CHECK((style & (WS_SYSMENU | WS_MINIMIZEBOX)) == (WS_SYSMENU | WS_MINIMIZEBOX)) << std::hex << style;

    for (int id : {kCertList, kRefresh, kCertDetails}) CHECK(IsWindowVisible(tolv.Item(id))) << id;
    for (int page = 1; page <= 3; ++page) {
        HWND dlg = PageDialog(main, page);
        CHECK(dlg != nullptr) << "page " << page;
        CHECK(dlg && !IsWindowVisible(dlg)) << "page " << page;
    }
    for (const auto& b : kPageButtons)
        CHECK(probe::WaitUntil([&] { return LooksSelected(tolv, b.id) == (b.id == kBtnCert); }, 2000))
            << "button " << b.id;

    CHECK_EQ(probe::WindowText(tolv.Item(kVersion)), std::string("1.0.2015.12021"));

    // The About entry of the system menu does nothing.
    PostMessageA(main, WM_SYSCOMMAND, 0x10, 0);
    probe::Settle(tolv.pi.hProcess);
    CHECK(ShownNormal(main));
    CHECK_EQ(probe::TopLevelWindows(tolv.pi.dwProcessId, "#32770").size(), size_t(1));

    std::string screens = check::Option("screens");
    if (!screens.empty()) {
        RECT rc;
        GetWindowRect(main, &rc);
        CHECK(probe::SaveBmp(probe::CaptureScreen(rc), screens + "\\main.bmp"));
    }
    DeleteFileA(NewsFile().c_str());
    certfix::ClearUserStore();
}

TEST(VersionLabelShowsZeroWithoutNewsFile)
{
    DeleteFileA(NewsFile().c_str());
    TolvProcess tolv;
    CHECK(tolv.Start());
    CHECK(tolv.WaitMainWindow() != nullptr);
    CHECK_EQ(probe::WindowText(tolv.Item(kVersion)), std::string("0"));
}

TEST(SecondStartBringsTheFirstCopyBack)
{
    struct Case {
        const char* name;
        void (*enter)(const TolvProcess&);
    };
    const Case cases[] = {
        {"hidden by WM_CLOSE", [](const TolvProcess& t) { PostMessageA(t.main, WM_CLOSE, 0, 0); }},
        {"minimised and hidden by button 102", [](const TolvProcess& t) { probe::Click(t.Item(kBtnClose)); }},
        {"minimised by button 103", [](const TolvProcess& t) { probe::Click(t.Item(kBtnMin)); }},
    };
    TolvProcess first;
    CHECK(first.Start());
    HWND main = first.WaitMainWindow();
    CHECK(main != nullptr);
    if (!main) return;
    for (const Case& c : cases) {
        c.enter(first);
        CHECK(probe::WaitUntil([&] { return !ShownNormal(main); })) << c.name;

        TolvProcess second;
        CHECK(second.Start()) << c.name;
        CHECK(second.WaitExit(5000)) << c.name;
        CHECK_EQ(second.ExitCode(), DWORD(0)) << c.name;
        CHECK(probe::WaitUntil([&] { return ShownNormal(main); })) << c.name;
        CHECK(first.WaitExit(0) == false) << c.name;
    }

    // The first copy holds the mutex until it ends; then a start is a first
    // instance again.
    CHECK(first.Exit());
    TolvProcess next;
    CHECK(next.Start());
    CHECK(next.WaitMainWindow() != nullptr);
}

TEST(MutexWithoutMainWindowShowsTheBox)
{
    HANDLE mutex = CreateMutexA(nullptr, FALSE, "TolvMutex");
    CHECK(mutex != nullptr);
    TolvProcess tolv;
    CHECK(tolv.Start());
    probe::MessageBoxInfo box = probe::FindMessageBox(tolv.pi.dwProcessId);
    CHECK(box.hwnd != nullptr);
    CHECK_EQ(box.caption, std::string("TOLV"));
    CHECK_EQ(box.text, std::string("已有一个实例在运行，但找不到它的主窗口！"));
    CHECK(FindTolvWindow(tolv.pi.dwProcessId) == nullptr);
    if (box.hwnd) probe::ClickMessageBoxOk(box.hwnd);
    CHECK(tolv.WaitExit(5000));
    CloseHandle(mutex);
}

TEST(AutorunSwitchIsMatchedExactly)
{
    struct Case {
        const char* args;
        bool hidden;
    };
    const Case cases[] = {
        {"-autorun", true},
        {"-AUTORUN", false},
        {"/autorun", false},
        {"", false},
        {"x -autorun", true},
    };
    for (const Case& c : cases) {
        TolvProcess tolv;
        CHECK(tolv.Start(c.args)) << c.args;
        HWND main = tolv.WaitMainWindow();
        CHECK(main != nullptr) << c.args;
        if (!main) continue;
        // Give a hidden start time to (wrongly) show up.
        Sleep(400);
        probe::Settle(tolv.pi.hProcess);
        CHECK_EQ(Hidden(main), c.hidden) << "args '" << c.args << "'";
        if (c.hidden) {
            // A double click on the tray icon brings it up on page 0.
            PostMessageA(main, 1524, 128, WM_LBUTTONDBLCLK);
            CHECK(probe::WaitUntil([&] { return ShownNormal(main); })) << c.args;
            CHECK(IsWindowVisible(tolv.Item(kCertList))) << c.args;
        }
    }
}

TEST(ExitCommandEndsTheProcess)
{
    TolvProcess tolv;
    CHECK(tolv.Start());
    CHECK(tolv.WaitMainWindow() != nullptr);
    DWORD start = GetTickCount();
    CHECK(tolv.Exit(5000));
    CHECK(GetTickCount() - start < 3000) << (GetTickCount() - start) << " ms";
    CHECK_EQ(tolv.ExitCode(), DWORD(0));
}
