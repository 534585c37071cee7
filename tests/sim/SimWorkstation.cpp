#include "sim/SimWorkstation.h"

#include "core/SimFiles.h"

#include <windows.h>

namespace simtest {

sim::Token MakeToken(const std::string& name, sim::Vendor vendor, int slot, bool plugged)
{
    sim::Token t;
    t.name = name;
    t.vendor = vendor;
    t.slot = slot;
    t.plugged = plugged;
    t.serial = "SN-" + name;
    t.certs.push_back(CertPath(std::string(sim::Info(vendor).key) + "-user.der"));
    return t;
}

void Reset(const sim::Scenario& s)
{
    sim::SimLock lock;
    sim::SaveScenario(s);
    sim::ClearCallLog();
}

void Edit(const std::function<void(sim::Scenario&)>& edit)
{
    sim::EditScenario([&](sim::Scenario& s) {
        edit(s);
        return true;
    });
}

sim::Scenario Current()
{
    sim::SimLock lock;
    return sim::LoadScenario();
}

void Plug(const std::string& token, bool plugged)
{
    Edit([&](sim::Scenario& s) {
        if (sim::Token* t = s.Find(token)) t->plugged = plugged;
    });
}

std::vector<sim::CallRecord> Calls(const std::string& function)
{
    std::vector<sim::CallRecord> all = sim::ReadCallLog(), some;
    for (const auto& c : all)
        if (function.empty() || c.function == function) some.push_back(c);
    return some;
}

std::string CertPath(const std::string& fileName) { return sim::SimFolder() + "\\certs\\" + fileName; }

int Run(const std::string& commandLine)
{
    // The programs' complaints about bad commands stay out of the test log.
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE nul = ::CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                               OPEN_EXISTING, 0, nullptr);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = nul;
    PROCESS_INFORMATION pi = {};
    std::string cmd = commandLine;
    BOOL started = ::CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                    &si, &pi);
    if (nul != INVALID_HANDLE_VALUE) ::CloseHandle(nul);
    if (!started) return -1;
    DWORD code = static_cast<DWORD>(-1);
    if (::WaitForSingleObject(pi.hProcess, 10000) == WAIT_OBJECT_0) ::GetExitCodeProcess(pi.hProcess, &code);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return static_cast<int>(code);
}

}  // namespace simtest
