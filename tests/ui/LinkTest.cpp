// The main window's links and the renewal button open their addresses
// through the shell; a browser stand-in records what was opened.
#include "harness/Check.h"
#include "ui/TolvUi.h"

#include <fstream>
#include <sstream>

using namespace tolvui;

namespace {

const char kOpenedFile[] = "C:\\opened-urls.txt";
const char kFeedbackUrl[] = "https://css.veltraca.cn:8443/css/self/opinion.jsp?id=tolv";
const char kRenewalUrl[] = "https://css.veltraca.cn:8443/css/";
const char kHomeHost[] = "www.veltraca.cn";

// Makes the recorder the handler of web addresses (machine-wide: Wine reads
// the handler from there, not from the user's classes).
void InstallRecorder()
{
    std::string command = "\"C:\\url_recorder.exe\" \"%1\"";
    for (const char* scheme : {"http", "https"}) {
        std::string key = std::string(scheme) + "\\shell\\open\\command";
        HKEY hkey = nullptr;
        if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &hkey,
                            nullptr) == ERROR_SUCCESS) {
            RegSetValueExA(hkey, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                           static_cast<DWORD>(command.size() + 1));
            RegCloseKey(hkey);
        }
    }
    DeleteFileA(kOpenedFile);
}

std::string Opened()
{
    std::ifstream in(kOpenedFile);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

bool WaitOpened(const char* text)
{
    return probe::WaitUntil([&] { return Opened().find(text) != std::string::npos; }, 5000);
}

void MouseTo(POINT pt, DWORD flags = 0)
{
    probe::MouseAt(pt, flags);
    Sleep(40);
}

POINT InControl(HWND control, int dx = 10)
{
    RECT rc;
    GetWindowRect(control, &rc);
    return {rc.left + dx, (rc.top + rc.bottom) / 2};
}

}  // namespace

TEST(LinksOpenTheirAddressesOnRelease)
{
    InstallRecorder();
    TolvProcess tolv;
    HWND main = StartAside(tolv, 200, 100);
    CHECK(main != nullptr);
    if (!main) return;

    // Press on the feedback link, move off, release elsewhere: nothing opens.
    HWND feedback = tolv.Item(1008);
    MouseTo(InControl(feedback, 200));
    MouseTo(InControl(feedback, 200), MOUSEEVENTF_LEFTDOWN);
    MouseTo({InControl(feedback).x, InControl(feedback).y - 200});
    MouseTo({InControl(feedback).x, InControl(feedback).y - 200}, MOUSEEVENTF_LEFTUP);
    probe::Settle(tolv.pi.hProcess, 1000);
    CHECK_EQ(Opened(), std::string());

    // A click on it opens the feedback page.
    MouseTo(InControl(feedback, 200));
    MouseTo(InControl(feedback, 200), MOUSEEVENTF_LEFTDOWN);
    MouseTo(InControl(feedback, 200), MOUSEEVENTF_LEFTUP);
    CHECK(WaitOpened(kFeedbackUrl)) << Opened();

    // The banner's logo area has no text but is a link to the home page.
    HWND home = tolv.Item(1006);
    CHECK(IsWindowVisible(home));
    MouseTo(InControl(home, 40));
    MouseTo(InControl(home, 40), MOUSEEVENTF_LEFTDOWN);
    MouseTo(InControl(home, 40), MOUSEEVENTF_LEFTUP);
    CHECK(WaitOpened(kHomeHost)) << Opened();

    // The renewal button.
    CHECK(probe::Click(tolv.Item(kBtnRenew)));
    CHECK(WaitOpened(kRenewalUrl)) << Opened();
    ParkCursor();
}

TEST(LinkSwallowsTypedCharacters)
{
    TolvProcess tolv;
    CHECK(tolv.Start());
    if (!tolv.WaitMainWindow()) return;
    HWND feedback = tolv.Item(1008);
    std::string before = probe::WindowText(feedback);
    PostMessageA(feedback, WM_CHAR, 'x', 1);
    probe::Settle(tolv.pi.hProcess);
    CHECK_EQ(probe::WindowText(feedback), before);
    CHECK(!tolv.WaitExit(0));
}
