// The call log: one line per call that the simulated software received,
//   time <TAB> pid <TAB> process <TAB> module <TAB> function <TAB> arguments
//   <TAB> result <TAB> output
// appended to calls.log beside the scenario.
#pragma once

#include <string>
#include <vector>

namespace sim {

struct CallRecord {
    std::string time, pid, process, module, function, args, result, out;
};

void AppendCall(const std::string& module, const std::string& function, const std::string& args,
                const std::string& result, const std::string& out);
std::vector<CallRecord> ReadCallLog();
void ClearCallLog();

// printf-style formatting for argument texts.
std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

}  // namespace sim
