// "Update.exe", the authority's updater: records that it was started, with
// its command line and current directory, and ends.
#include "core/CallLog.h"

#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show)
{
    char folder[MAX_PATH] = "", path[MAX_PATH] = "";
    ::GetCurrentDirectoryA(MAX_PATH, folder);
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    sim::AppendCall("Update.exe", "start", ::GetCommandLineA(), "started",
                    std::string("path=") + path + " cwd=" + folder + " show=" + std::to_string(show));
    return 0;
}
