// One running copy of TOLV.exe under test.  The destructor ends it (through
// the tray menu's exit command, or by force when that does not work), so a
// failing test leaves no copy behind for the next one.
#pragma once

#include <windows.h>

#include <string>

class TolvProcess {
public:
    TolvProcess() = default;
    ~TolvProcess() { Stop(); }
    TolvProcess(const TolvProcess&) = delete;
    TolvProcess& operator=(const TolvProcess&) = delete;

    // The installed program (option --tolv).
    static std::string ExePath();
    static std::string InstallDir();

    bool Start(const std::string& args = "");
    // The main window: a top-level window of this process carrying "TOLV".
    HWND WaitMainWindow(DWORD timeoutMs = 10000);
    bool WaitExit(DWORD timeoutMs);
    DWORD ExitCode() const;
    // Ends the program with its exit command; true when it ended in time.
    bool Exit(DWORD timeoutMs = 5000);
    void Stop();

    HWND Item(int id) const { return GetDlgItem(main, id); }

    PROCESS_INFORMATION pi = {};
    HWND main = nullptr;
};

// A top-level window of pid that carries the property "TOLV", or null.
HWND FindTolvWindow(DWORD pid);
