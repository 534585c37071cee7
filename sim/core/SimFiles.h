// Where the scenario and the call log live, and the one named mutex that
// every process takes to read or write either of them.
#pragma once

#include "core/Scenario.h"

#include <windows.h>

#include <functional>
#include <string>

namespace sim {

// %VELTRASIM_DIR% when set, else the common application data folder's
// VeltraSim (C:\ProgramData\VeltraSim).
std::string SimFolder();
std::string ScenarioPath();
std::string CallLogPath();

// Held by the constructing thread until destruction; the mutex is
// recursive, so nested holders in one thread are fine.
class SimLock {
public:
    SimLock();
    ~SimLock();
    SimLock(const SimLock&) = delete;
    SimLock& operator=(const SimLock&) = delete;
private:
    HANDLE m_mutex;
};

// Callers hold a SimLock around these.
Scenario LoadScenario();
bool SaveScenario(const Scenario& s);

// Loads the scenario, lets `edit` change it and saves it when `edit`
// returns true, all under the lock.
bool EditScenario(const std::function<bool(Scenario&)>& edit);

bool ReadTextFile(const std::string& path, std::string* text);
bool WriteTextFile(const std::string& path, const std::string& text);

}  // namespace sim
