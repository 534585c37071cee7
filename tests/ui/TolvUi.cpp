#include "ui/TolvUi.h"
#include "harness/Check.h"

namespace tolvui {

const PageButton kPageButtons[4] = {
    {kBtnCert, 199, 200}, {kBtnCheck, 201, 202}, {kBtnUpgrade, 205, 206}, {kBtnSetting, 207, 208}};

HWND PageDialog(HWND main, int page)
{
    // A control that only the diagnostics, upgrade or settings page has.
    static const int kMarker[4] = {0, 1077, 1066, 1038};
    for (HWND child = GetWindow(main, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (probe::ClassName(child) == "#32770" && GetDlgItem(child, kMarker[page])) return child;
    return nullptr;
}

bool ShowsPicture(const TolvProcess& tolv, int buttonId, unsigned expected, unsigned other)
{
    HWND button = tolv.Item(buttonId);
    if (!button) return false;
    RECT rc = probe::ClientRectOnScreen(button);
    probe::Pixels screen = probe::CaptureScreen(rc);
    HMODULE exe = LoadLibraryExA(TolvProcess::ExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    probe::Pixels a = probe::RenderBitmap(exe, expected, screen.width, screen.height, &screen);
    probe::Pixels b = probe::RenderBitmap(exe, other, screen.width, screen.height, &screen);
    if (exe) FreeLibrary(exe);
    return probe::Difference(screen, a) < probe::Difference(screen, b);
}

bool LooksSelected(const TolvProcess& tolv, int buttonId)
{
    for (const auto& b : kPageButtons)
        if (b.id == buttonId) return ShowsPicture(tolv, buttonId, b.selectedBitmap, b.normalBitmap);
    return false;
}

void SendCommand(HWND main, int id)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(main, WM_COMMAND, MAKEWPARAM(id, 0), 0, SMTO_ABORTIFHUNG, 5000, &result);
}

void SaveScreenshot(HWND window, const char* name)
{
    std::string dir = check::Option("screens");
    if (dir.empty()) return;
    Sleep(300);  // let the window finish painting
    RECT rc;
    GetWindowRect(window, &rc);
    probe::SaveBmp(probe::CaptureScreen(rc), dir + "\\" + name + ".bmp");
}

HWND StartAside(TolvProcess& tolv, int x, int y)
{
    ParkCursor();
    if (!tolv.Start() || !tolv.WaitMainWindow()) return nullptr;
    SetWindowPos(tolv.main, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    probe::Settle(tolv.pi.hProcess, 300);
    return tolv.main;
}

void ParkCursor()
{
    SetCursorPos(1270, 1010);
}

}  // namespace tolvui
