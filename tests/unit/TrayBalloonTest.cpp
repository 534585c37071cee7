// Balloons through the tray icon record: what the shell shows, and the
// record staying whole when several threads raise and clear at once.
#include "harness/Check.h"
#include "harness/WinProbe.h"
#include "mainwnd/TrayIcon.h"

#include <cstring>
#include <string>

namespace {

// The balloon the shell shows, read from its tooltip window.
std::string ShownBalloon()
{
    std::string text;
    EnumWindows(
        [](HWND hwnd, LPARAM lp) -> BOOL {
            if (probe::ClassName(hwnd) == "tooltips_class32" && IsWindowVisible(hwnd)) {
                std::string t = probe::WindowText(hwnd);
                if (!t.empty()) *reinterpret_cast<std::string*>(lp) = t;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&text));
    return text;
}

struct TrayOwner {
    HWND hwnd = CreateWindowExA(0, "STATIC", "tray owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    TrayOwner() { TrayAddIcon(hwnd, LoadIcon(nullptr, IDI_APPLICATION), WM_APP + 1); }
    ~TrayOwner() {
        TrayDeleteIcon();
        DestroyWindow(hwnd);
    }
};

// Every record sent while threads race must be exactly what the sending
// thread wrote.
thread_local const char* t_expected = nullptr;
LONG g_calls = 0;
LONG g_torn = 0;

BOOL WINAPI CheckingNotify(DWORD message, PNOTIFYICONDATAA data)
{
    InterlockedIncrement(&g_calls);
    bool whole = message == NIM_MODIFY && t_expected && std::strcmp(data->szInfo, t_expected) == 0 &&
                 data->szInfoTitle[0] == '\0' && data->dwInfoFlags == NIIF_INFO && data->uTimeout == 3;
    if (!whole) InterlockedIncrement(&g_torn);
    Sleep(0);  // widen the window in which another writer could step in
    return TRUE;
}

DWORD WINAPI Writer(LPVOID param)
{
    const char* text = static_cast<const char*>(param);
    for (int i = 0; i < 3000; ++i) {
        t_expected = (i % 3 == 2) ? "" : text;
        if (i % 3 == 2)
            ClearBalloon();
        else
            RaiseBalloon(text);
    }
    return 0;
}

}  // namespace

TEST(BalloonReplacesTheOneShowingAndEmptyTextClearsIt)
{
    TrayOwner owner;
    RaiseBalloon("VeltraCA USBKey插入");
    CHECK(probe::WaitUntil([] { return ShownBalloon() == "VeltraCA USBKey插入"; }, 3000)) << ShownBalloon();
    RaiseBalloon("证书将在30天后过期");
    CHECK(probe::WaitUntil([] { return ShownBalloon() == "证书将在30天后过期"; }, 3000)) << ShownBalloon();
    ClearBalloon();
    CHECK(probe::WaitUntil([] { return ShownBalloon().empty(); }, 3000)) << ShownBalloon();
}

TEST(LongBalloonTextIsCutAt255Bytes)
{
    TrayOwner owner;
    std::string longText(400, 'x');
    RaiseBalloon(longText.c_str());
    CHECK_EQ(std::strlen(g_nid.szInfo), size_t(255));
    ClearBalloon();
}

TEST(BalloonRecordStaysWholeAcrossThreads)
{
    SetTrayNotifyForTesting(&CheckingNotify);
    g_calls = g_torn = 0;
    static const char* texts[] = {"VeltraCA USBKey插入", "VeltraCA USBKey移除 and a much longer text",
                                  "该USBKey中没有证书"};
    HANDLE threads[3];
    for (int i = 0; i < 3; ++i)
        threads[i] = CreateThread(nullptr, 0, Writer, const_cast<char*>(texts[i]), 0, nullptr);
    WaitForMultipleObjects(3, threads, TRUE, 60000);
    for (HANDLE t : threads) CloseHandle(t);
    SetTrayNotifyForTesting(nullptr);
    CHECK_EQ(g_calls, LONG(9000));
    CHECK_EQ(g_torn, LONG(0));
}
