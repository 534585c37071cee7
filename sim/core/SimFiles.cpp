#include "core/SimFiles.h"

namespace sim {

std::string SimFolder()
{
    char buf[MAX_PATH];
    DWORD n = ::GetEnvironmentVariableA("VELTRASIM_DIR", buf, MAX_PATH);
    if (n > 0 && n < MAX_PATH) return buf;
    n = ::GetEnvironmentVariableA("ProgramData", buf, MAX_PATH);
    std::string base = n > 0 && n < MAX_PATH ? buf : "C:\\ProgramData";
    return base + "\\VeltraSim";
}

std::string ScenarioPath() { return SimFolder() + "\\scenario.ini"; }
std::string CallLogPath() { return SimFolder() + "\\calls.log"; }

SimLock::SimLock() : m_mutex(::CreateMutexA(nullptr, FALSE, "VeltraSim.Scenario"))
{
    // An abandoned mutex (a holder ended mid-call) is still ours now.
    if (m_mutex) ::WaitForSingleObject(m_mutex, 10000);
}

SimLock::~SimLock()
{
    if (!m_mutex) return;
    ::ReleaseMutex(m_mutex);
    ::CloseHandle(m_mutex);
}

bool ReadTextFile(const std::string& path, std::string* text)
{
    text->clear();
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    char buf[4096];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ::ReadFile(file, buf, sizeof buf, &got, nullptr) != FALSE) && got > 0)
        text->append(buf, got);
    ::CloseHandle(file);
    return ok;
}

bool WriteTextFile(const std::string& path, const std::string& text)
{
    ::CreateDirectoryA(SimFolder().c_str(), nullptr);
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
              written == text.size();
    ::CloseHandle(file);
    return ok;
}

Scenario LoadScenario()
{
    std::string text;
    ReadTextFile(ScenarioPath(), &text);
    return ParseScenario(text);
}

bool SaveScenario(const Scenario& s) { return WriteTextFile(ScenarioPath(), FormatScenario(s)); }

bool EditScenario(const std::function<bool(Scenario&)>& edit)
{
    SimLock lock;
    Scenario s = LoadScenario();
    if (!edit(s)) return false;
    return SaveScenario(s);
}

}  // namespace sim
