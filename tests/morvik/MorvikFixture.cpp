#include "morvik/MorvikFixture.h"

#include "harness/Check.h"

#include <algorithm>

namespace morviktest {

std::string ServerPath()
{
    return check::Option("morvik", "C:\\Program Files\\VeltraCA\\Morvik\\Morvik.dll");
}

std::string FilesFolder() { return check::Option("morvik-files", "C:\\morvik-tests"); }

std::string SystemFolder()
{
    char dir[MAX_PATH] = {};
    ::GetSystemDirectoryA(dir, MAX_PATH);
    return dir;
}

RunResult Run(const std::string& commandLine, const std::string& currentDir)
{
    RunResult result;
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!::CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return result;
    ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    HANDLE nul = ::CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                               OPEN_EXISTING, 0, nullptr);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = writeEnd;
    si.hStdError = nul;
    PROCESS_INFORMATION pi = {};
    std::string cmd = commandLine;
    BOOL started = ::CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                    nullptr, currentDir.empty() ? nullptr : currentDir.c_str(),
                                    &si, &pi);
    ::CloseHandle(writeEnd);
    if (nul != INVALID_HANDLE_VALUE) ::CloseHandle(nul);
    if (started) {
        char buffer[512];
        DWORD got = 0;
        while (::ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0)
            result.output.append(buffer, got);
        DWORD code = static_cast<DWORD>(-1);
        if (::WaitForSingleObject(pi.hProcess, 30000) == WAIT_OBJECT_0)
            ::GetExitCodeProcess(pi.hProcess, &code);
        result.exitCode = static_cast<int>(code);
        ::CloseHandle(pi.hThread);
        ::CloseHandle(pi.hProcess);
    }
    ::CloseHandle(readEnd);
    return result;
}

int Regsvr32(const std::string& dll, bool unregister)
{
    std::string cmd = SystemFolder() + "\\regsvr32.exe /s " + (unregister ? "/u " : "") + "\"" + dll + "\"";
    return Run(cmd).exitCode;
}

void RestoreRegistration() { Regsvr32(ServerPath()); }

namespace {

void DumpKey(HKEY key, const std::string& name, std::vector<std::string>& lines)
{
    lines.push_back(name);
    for (DWORD i = 0;; ++i) {
        char valueName[256];
        DWORD nameLen = sizeof valueName, type = 0;
        BYTE data[1024];
        DWORD dataLen = sizeof data;
        if (::RegEnumValueA(key, i, valueName, &nameLen, nullptr, &type, data, &dataLen) != ERROR_SUCCESS)
            break;
        std::string value = type == REG_SZ ? std::string(reinterpret_cast<char*>(data), dataLen > 0 ? dataLen - 1 : 0)
                                           : "(type " + std::to_string(type) + ")";
        lines.push_back(name + "|" + (nameLen ? valueName : "@") + "=" + value);
    }
    for (DWORD i = 0;; ++i) {
        char sub[256];
        DWORD subLen = sizeof sub;
        if (::RegEnumKeyExA(key, i, sub, &subLen, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        HKEY child = nullptr;
        if (::RegOpenKeyExA(key, sub, 0, KEY_READ, &child) == ERROR_SUCCESS) {
            DumpKey(child, name + "\\" + sub, lines);
            ::RegCloseKey(child);
        }
    }
}

}  // namespace

std::vector<std::string> DumpClassesKey(const std::string& path)
{
    std::vector<std::string> lines;
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return lines;
    DumpKey(key, path, lines);
    ::RegCloseKey(key);
    std::sort(lines.begin(), lines.end());
    return lines;
}

bool ClassesKeyExists(const std::string& path)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    ::RegCloseKey(key);
    return true;
}

void DeleteClassesTree(const std::string& path) { ::RegDeleteTreeA(HKEY_CLASSES_ROOT, path.c_str()); }

FileAside::FileAside(const std::string& path) : m_path(path)
{
    m_moved = ::MoveFileExA(path.c_str(), (path + ".aside").c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

FileAside::~FileAside()
{
    if (m_moved) ::MoveFileExA((m_path + ".aside").c_str(), m_path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

std::string Narrow(const wchar_t* text)
{
    if (!text) return std::string();
    int n = ::WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) ::WideCharToMultiByte(CP_ACP, 0, text, -1, &out[0], n, nullptr, nullptr);
    return out;
}

}  // namespace morviktest
