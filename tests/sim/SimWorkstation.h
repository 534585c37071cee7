// Test access to the token simulator installed in the prefix: set up the
// scenario, change it while the software under test runs, read the calls
// the simulated software received.
#pragma once

#include "core/CallLog.h"
#include "core/Scenario.h"

#include <functional>
#include <string>
#include <vector>

namespace simtest {

// A token of the default test set-up, with the installed demo certificate
// of its vendor.
sim::Token MakeToken(const std::string& name, sim::Vendor vendor, int slot, bool plugged);

// Replaces the whole scenario and clears the call log.
void Reset(const sim::Scenario& s);
void Edit(const std::function<void(sim::Scenario&)>& edit);
sim::Scenario Current();

void Plug(const std::string& token, bool plugged);

// The calls logged since the last Reset, optionally only those of one
// function.
std::vector<sim::CallRecord> Calls(const std::string& function = "");

std::string CertPath(const std::string& fileName);

// Runs a program of the system folder (simctl.exe, ...) and waits for it;
// its exit code, or -1 when it did not start or end within 10 s.
int Run(const std::string& commandLine);

}  // namespace simtest
