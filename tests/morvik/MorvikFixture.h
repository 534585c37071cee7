// Shared helpers of the Morvik tests: where things are installed, running
// helper programs, reading a registry subtree, taking a module away for a
// while.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace morviktest {

// The installed server (option --morvik overrides).
std::string ServerPath();
// The folder holding the scripts and the test module (option --morvik-files).
std::string FilesFolder();
std::string SystemFolder();

// Runs a command line, waits up to 30 s; its exit code (-1 when it did not
// start or end) and what it wrote to standard output.
struct RunResult {
    int exitCode = -1;
    std::string output;
};
RunResult Run(const std::string& commandLine, const std::string& currentDir = "");

// regsvr32 /s [/u] on a DLL; regsvr32's exit code.
int Regsvr32(const std::string& dll, bool unregister = false);
// Registers the installed server again, as the installer left it.
void RestoreRegistration();

// Every key and value below HKCR\<path>, one line each, sorted:
//   "key\sub" and "key\sub|name=value"; empty when the key does not exist.
std::vector<std::string> DumpClassesKey(const std::string& path);
bool ClassesKeyExists(const std::string& path);
void DeleteClassesTree(const std::string& path);

// Moves a file aside while it lives and puts it back at the end.
class FileAside {
public:
    explicit FileAside(const std::string& path);
    ~FileAside();
    FileAside(const FileAside&) = delete;
    FileAside& operator=(const FileAside&) = delete;
    bool Moved() const { return m_moved; }
private:
    std::string m_path;
    bool m_moved = false;
};

std::string Narrow(const wchar_t* text);

}  // namespace morviktest
