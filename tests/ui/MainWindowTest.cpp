// The main window: pages, keys, window buttons and the windows its panel
// opens.
#include "harness/Check.h"
#include "ui/TolvUi.h"

using namespace tolvui;

namespace {

bool ShownNormal(HWND w) { return IsWindowVisible(w) && !IsIconic(w); }

// Top-level dialogs of the process that have control id.
std::vector<HWND> DialogsWith(DWORD pid, int id, bool visibleOnly = true)
{
    std::vector<HWND> found;
    for (HWND hwnd : probe::TopLevelWindows(pid, "#32770"))
        if (GetDlgItem(hwnd, id) && (!visibleOnly || IsWindowVisible(hwnd))) found.push_back(hwnd);
    return found;
}

struct Started {
    TolvProcess tolv;
    HWND main = nullptr;
    Started() {
        ParkCursor();
        if (tolv.Start()) main = tolv.WaitMainWindow();
    }
};

}  // namespace

TEST(PageButtonsShowOnePageAtATime)
{
    Started s;
    CHECK(s.main != nullptr);
    if (!s.main) return;
    struct Step {
        int button;
        int page;
    };
    // 1 -> 2 -> 0, then the selected button once more.
    const Step steps[] = {{kBtnCheck, 1}, {kBtnUpgrade, 2}, {kBtnCert, 0}, {kBtnCert, 0},
                          {kBtnSetting, 3}, {kBtnSetting, 3}, {kBtnCert, 0}};
    int index = 0;
    for (const Step& step : steps) {
        CHECK(probe::Click(s.tolv.Item(step.button))) << "step " << index;
        probe::Settle(s.tolv.pi.hProcess);
        for (int id : {kCertList, kRefresh, kCertDetails})
            CHECK_EQ(IsWindowVisible(s.tolv.Item(id)) != FALSE, step.page == 0)
                << "step " << index << " control " << id;
        for (int page = 1; page <= 3; ++page)
            CHECK_EQ(IsWindowVisible(PageDialog(s.main, page)) != FALSE, page == step.page)
                << "step " << index << " page dialog " << page;
        int selected = 0;
        for (int i = 0; i < 4; ++i) {
            bool looks = probe::WaitUntil(
                [&] { return LooksSelected(s.tolv, kPageButtons[i].id) == (i == step.page); }, 2000);
            CHECK(looks) << "step " << index << " button " << kPageButtons[i].id;
            selected += LooksSelected(s.tolv, kPageButtons[i].id);
        }
        CHECK_EQ(selected, 1) << "step " << index;
        const char* shots[] = {"page0", "page1", "page2", "page3"};
        SaveScreenshot(s.main, shots[step.page]);
        ++index;
    }
}

TEST(KeysDoNothingOnTheMainWindow)
{
    Started s;
    CHECK(s.main != nullptr);
    if (!s.main) return;
    const struct {
        WPARAM key;
        const char* name;
    } keys[] = {{VK_RETURN, "Enter"}, {VK_ESCAPE, "Escape"}, {VK_TAB, "Tab"},
                {'A', "A"},           {VK_DOWN, "Down"},    {VK_SPACE, "Space"}};
    for (HWND target : {s.main, s.tolv.Item(kCertList), s.tolv.Item(kRefresh)}) {
        for (const auto& k : keys) {
            HWND focusBefore = probe::FocusOf(s.main);
            PostMessageA(target, WM_KEYDOWN, k.key, 1);
            PostMessageA(target, WM_KEYUP, k.key, 0xC0000001);
            probe::Settle(s.tolv.pi.hProcess);
            if (s.tolv.WaitExit(0)) {
                CHECK(false) << k.name << " to " << probe::ClassName(target) << " ended the program";
                return;
            }
            CHECK(ShownNormal(s.main)) << k.name << " to " << probe::ClassName(target);
            CHECK(probe::FocusOf(s.main) == focusBefore) << k.name << " to " << probe::ClassName(target);
        }
    }
}

TEST(WindowButtonsAndCloseKeepTheProgramInTheTray)
{
    Started s;
    CHECK(s.main != nullptr);
    if (!s.main) return;
    struct Case {
        const char* name;
        void (*act)(const TolvProcess&);
        bool visible, iconic;
    };
    const Case cases[] = {
        {"Alt+F4", [](const TolvProcess& t) { PostMessageA(t.main, WM_SYSKEYDOWN, VK_F4, 0x20000001); },
         false, false},
        {"close button 102", [](const TolvProcess& t) { probe::Click(t.Item(kBtnClose)); }, false, true},
        {"minimise button 103", [](const TolvProcess& t) { probe::Click(t.Item(kBtnMin)); }, true, true},
        {"WM_CLOSE", [](const TolvProcess& t) { PostMessageA(t.main, WM_CLOSE, 0, 0); }, false, false},
    };
    for (const Case& c : cases) {
        c.act(s.tolv);
        CHECK(probe::WaitUntil([&] {
            return (IsWindowVisible(s.main) != FALSE) == c.visible && (IsIconic(s.main) != FALSE) == c.iconic;
        })) << c.name << ": visible " << IsWindowVisible(s.main) << " iconic " << IsIconic(s.main);
        CHECK(!s.tolv.WaitExit(0)) << c.name;
        // The tray's show command brings it back in its normal size.
        SendCommand(s.main, kTrayShow);
        CHECK(probe::WaitUntil([&] { return ShownNormal(s.main); })) << c.name;
    }
}

TEST(PinButtonOpensOneWindow)
{
    Started s;
    CHECK(s.main != nullptr);
    if (!s.main) return;
    const int kConfirm = 1075;
    CHECK(probe::Click(s.tolv.Item(kBtnPin)));
    CHECK(probe::WaitUntil([&] { return DialogsWith(s.tolv.pi.dwProcessId, kConfirm).size() == 1; }));
    if (!DialogsWith(s.tolv.pi.dwProcessId, kConfirm).empty())
        SaveScreenshot(DialogsWith(s.tolv.pi.dwProcessId, kConfirm)[0], "pin");
    CHECK(probe::Click(s.tolv.Item(kBtnPin)));
    probe::Settle(s.tolv.pi.hProcess);
    auto pins = DialogsWith(s.tolv.pi.dwProcessId, kConfirm, false);
    CHECK_EQ(pins.size(), size_t(1));
    if (pins.size() != 1) return;
    HWND pin = pins[0];
    CHECK(GetWindow(pin, GW_OWNER) == s.main);
    CHECK(IsWindowVisible(pin));

    // Its close button hides it; the panel button shows the same window again.
    CHECK(probe::Click(GetDlgItem(pin, 102)));
    CHECK(probe::WaitUntil([&] { return !IsWindowVisible(pin); }));
    CHECK(probe::Click(s.tolv.Item(kBtnPin)));
    CHECK(probe::WaitUntil([&] { return IsWindowVisible(pin) != FALSE; }));
    CHECK_EQ(DialogsWith(s.tolv.pi.dwProcessId, kConfirm, false).size(), size_t(1));
}

TEST(ServiceButtonRunsTheContactDialogModally)
{
    Started s;
    CHECK(s.main != nullptr);
    if (!s.main) return;
    const int kCity = 1109;
    struct Case {
        const char* how;
        void (*close)(HWND dialog);
    };
    const Case cases[] = {
        {"close button", [](HWND d) { probe::PostClick(GetDlgItem(d, 102)); }},
        {"Escape", [](HWND d) { PostMessageA(GetDlgItem(d, 1109), WM_KEYDOWN, VK_ESCAPE, 1); }},
    };
    for (const Case& c : cases) {
        probe::PostClick(s.tolv.Item(kBtnService));
        HWND dialog = nullptr;
        CHECK(probe::WaitUntil([&] {
            auto found = DialogsWith(s.tolv.pi.dwProcessId, kCity);
            dialog = found.empty() ? nullptr : found[0];
            return dialog != nullptr;
        })) << c.how;
        if (!dialog) continue;
        CHECK(!IsWindowEnabled(s.main)) << c.how;
        SaveScreenshot(dialog, "service");
        // Enter does not close it.
        PostMessageA(GetDlgItem(dialog, kCity), WM_KEYDOWN, VK_RETURN, 1);
        probe::Settle(s.tolv.pi.hProcess);
        CHECK(IsWindow(dialog) && IsWindowVisible(dialog)) << c.how;

        c.close(dialog);
        CHECK(probe::WaitUntil([&] { return !IsWindow(dialog); })) << c.how;
        CHECK(IsWindowEnabled(s.main)) << c.how;
        CHECK(ShownNormal(s.main)) << c.how;
    }
}
