#include "core/CallLog.h"

#include "core/SimFiles.h"

#include <windows.h>

#include <cstdarg>
#include <cstring>
#include <cstdio>
#include <sstream>

namespace sim {
namespace {

std::string ProcessName()
{
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    const char* slash = std::strrchr(path, '\\');
    return slash ? slash + 1 : path;
}

// Tabs and line ends inside a field would break the line format.
std::string Field(const std::string& s)
{
    std::string out = s;
    for (char& c : out)
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    return out;
}

}  // namespace

std::string Format(const char* fmt, ...)
{
    char buf[1024];
    va_list args;
    va_start(args, fmt);
    std::vsnprintf(buf, sizeof buf, fmt, args);
    va_end(args);
    return buf;
}

void AppendCall(const std::string& module, const std::string& function, const std::string& args,
                const std::string& result, const std::string& out)
{
    SYSTEMTIME t;
    ::GetLocalTime(&t);
    std::string line = Format("%02u:%02u:%02u.%03u\t%lu\t", t.wHour, t.wMinute, t.wSecond,
                              t.wMilliseconds, static_cast<unsigned long>(::GetCurrentProcessId())) +
                       Field(ProcessName()) + "\t" + Field(module) + "\t" + Field(function) +
                       "\t" + Field(args) + "\t" + Field(result) + "\t" + Field(out) + "\r\n";
    SimLock lock;
    ::CreateDirectoryA(SimFolder().c_str(), nullptr);
    HANDLE file = ::CreateFileA(CallLogPath().c_str(), FILE_APPEND_DATA,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    ::WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    ::CloseHandle(file);
}

std::vector<CallRecord> ReadCallLog()
{
    std::string text;
    {
        SimLock lock;
        ReadTextFile(CallLogPath(), &text);
    }
    std::vector<CallRecord> records;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::vector<std::string> f;
        std::istringstream fields(line);
        std::string field;
        while (std::getline(fields, field, '\t')) f.push_back(field);
        f.resize(8);
        records.push_back({f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7]});
    }
    return records;
}

void ClearCallLog()
{
    SimLock lock;
    WriteTextFile(CallLogPath(), "");
}

}  // namespace sim
