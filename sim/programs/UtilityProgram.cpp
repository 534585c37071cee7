// The vendors' certificate utility programs ("GEUU20485.exe",
// "hhukcert14.exe"): one source built under both names.  Each logs its
// start and then stays running, with a hidden window, until it is ended
// (closed, or terminated).
#include "core/CallLog.h"

#include <windows.h>

#include <string>

namespace {

std::string OwnFileName()
{
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p = path;
    return p.substr(p.find_last_of('\\') + 1);
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    char folder[MAX_PATH] = "";
    ::GetCurrentDirectoryA(MAX_PATH, folder);
    sim::AppendCall(OwnFileName(), "start", ::GetCommandLineA(), "running",
                    std::string("cwd=") + folder);

    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = "VeltraSimUtility";
    ::RegisterClassA(&wc);
    HWND hwnd = ::CreateWindowA(wc.lpszClassName, OwnFileName().c_str(), WS_OVERLAPPED, 0, 0, 0,
                                0, nullptr, nullptr, instance, nullptr);
    if (!hwnd) return 1;
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    sim::AppendCall(OwnFileName(), "exit", "", "closed", "");
    return 0;
}
