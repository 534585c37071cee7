#include "harness/TolvProcess.h"
#include "harness/Check.h"
#include "harness/WinProbe.h"

namespace {
const UINT kExitCommand = 32773;
}

std::string TolvProcess::ExePath()
{
    return check::Option("tolv", "C:\\Program Files\\VeltraCA\\TOLV\\TOLV.exe");
}

std::string TolvProcess::InstallDir()
{
    std::string exe = ExePath();
    return exe.substr(0, exe.find_last_of('\\'));
}

HWND FindTolvWindow(DWORD pid)
{
    for (HWND hwnd : probe::TopLevelWindows(pid))
        if (GetPropA(hwnd, "TOLV")) return hwnd;
    return nullptr;
}

bool TolvProcess::Start(const std::string& args)
{
    std::string exe = ExePath();
    std::string commandLine = "\"" + exe + "\"" + (args.empty() ? "" : " " + args);
    STARTUPINFOA si = {sizeof(si)};
    std::string dir = InstallDir();
    if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        dir.c_str(), &si, &pi))
        return false;
    WaitForInputIdle(pi.hProcess, 5000);
    return true;
}

HWND TolvProcess::WaitMainWindow(DWORD timeoutMs)
{
    probe::WaitUntil([&] { return (main = FindTolvWindow(pi.dwProcessId)) != nullptr; }, timeoutMs);
    if (main) probe::Settle(pi.hProcess);
    return main;
}

bool TolvProcess::WaitExit(DWORD timeoutMs)
{
    return pi.hProcess && WaitForSingleObject(pi.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

DWORD TolvProcess::ExitCode() const
{
    DWORD code = STILL_ACTIVE;
    if (pi.hProcess) GetExitCodeProcess(pi.hProcess, &code);
    return code;
}

bool TolvProcess::Exit(DWORD timeoutMs)
{
    if (!pi.hProcess) return true;
    if (WaitExit(0)) return true;
    HWND hwnd = main ? main : FindTolvWindow(pi.dwProcessId);
    if (hwnd) PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(kExitCommand, 0), 0);
    return WaitExit(timeoutMs);
}

void TolvProcess::Stop()
{
    if (!pi.hProcess) return;
    if (!Exit(3000)) {
        TerminateProcess(pi.hProcess, 1);
        WaitExit(5000);
    }
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    pi = {};
    main = nullptr;
}
