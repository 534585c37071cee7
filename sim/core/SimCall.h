// One call received by a simulated vendor function: holds the lock and the
// scenario as it stands for the whole call, answers an injected failure,
// logs the call with its result, and saves what the call changed.
//
//   SimCall call(kModule, "C_Login", Format("session=%lu", s));
//   if (call.Injected()) return call.InjectedCode();
//   ...
//   return call.Return(CKR_OK);
#pragma once

#include "core/CallLog.h"
#include "core/Scenario.h"
#include "core/SimFiles.h"

#include <string>

namespace sim {

class SimCall {
public:
    SimCall(const std::string& module, const std::string& function, const std::string& args);
    ~SimCall();
    SimCall(const SimCall&) = delete;
    SimCall& operator=(const SimCall&) = delete;

    Scenario& scenario() { return m_scenario; }
    void Changed() { m_changed = true; }

    // True when the scenario makes this call fail; the call is then logged
    // with the injected code as its result.
    bool Injected();
    unsigned long InjectedCode() const { return m_injectedCode; }

    // Logs the call with its result (hexadecimal) and what it handed out.
    unsigned long Return(unsigned long result, const std::string& out = "");
    // Logs a call whose result is a text.
    void ReturnText(const std::string& result, const std::string& out = "");
    // The caller logs the call itself, later.
    void LoggedByCaller() { m_logged = true; }

private:
    SimLock m_lock;
    Scenario m_scenario;
    std::string m_module, m_function, m_args;
    bool m_changed = false;
    bool m_logged = false;
    unsigned long m_injectedCode = 0;
};

// For a function that does its work without holding the lock (it calls
// other simulated software): consumes and logs an injected failure.
bool InjectedFailure(const std::string& module, const std::string& function,
                     const std::string& args, unsigned long* code);

}  // namespace sim
