// simctl: reads and edits the token simulator's scenario, and shows or
// clears its call log.  Every change is seen by the simulated software at
// its next call.  Run without arguments for the list of commands.
#include "core/CallLog.h"
#include "core/SimFiles.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <cstring>
#include <string>
#include <vector>

using namespace sim;

namespace {

using Args = std::vector<std::string>;

const char kUsage[] =
    "usage: simctl COMMAND [ARGUMENTS]\n"
    "  show                              print the scenario\n"
    "  where                             print the scenario and call log paths\n"
    "  reset                             no tokens, no failures, default slots\n"
    "  token NAME VENDOR SLOT [KEY=VALUE...]  add or replace a token (pulled)\n"
    "                                    VENDOR: haitai huahong vendor3 vendor4\n"
    "  set NAME KEY=VALUE...             change token fields (see sim/README.md)\n"
    "  remove NAME                       take a token out of the scenario\n"
    "  plug NAME [SLOT]                  plug a token in (into SLOT)\n"
    "  pull NAME                         pull a token out\n"
    "  set-pin NAME PIN [ATTEMPTS]       new user PIN, attempts restored, unlocked\n"
    "  lock NAME | unlock NAME           lock the user PIN / unlock it\n"
    "  cert NAME DER-FILE                put a certificate on a token\n"
    "  slots VENDOR COUNT                number of readers or slots of a vendor\n"
    "  key-event CODE...                 queue answers for the component's event query\n"
    "  fail [MODULE!]FUNCTION CODE [TIMES]   make a vendor call answer CODE\n"
    "  unfail [MODULE!]FUNCTION | all    end injected failures\n"
    "  log [clear]                       print or clear the call log\n";

bool Fail(const char* fmt, const std::string& what)
{
    std::fprintf(stderr, fmt, what.c_str());
    std::fputc('\n', stderr);
    return false;
}

bool SetFields(Token& t, const Args& args, size_t first)
{
    for (size_t i = first; i < args.size(); ++i) {
        size_t eq = args[i].find('=');
        if (eq == std::string::npos) return Fail("not KEY=VALUE: %s", args[i]);
        if (!SetTokenField(t, args[i].substr(0, eq), args[i].substr(eq + 1)))
            return Fail("unknown field or bad value: %s", args[i]);
    }
    return true;
}

bool EditToken(const std::string& name, const std::function<bool(Token&)>& edit)
{
    bool found = false;
    bool ok = EditScenario([&](Scenario& s) {
        Token* t = s.Find(name);
        found = t != nullptr;
        return t && edit(*t);
    });
    if (!found) return Fail("no token named %s", name);
    return ok;
}

bool Command(const Args& a)
{
    const std::string& cmd = a[0];
    size_t n = a.size();
    if (cmd == "show") {
        SimLock lock;
        std::fputs(FormatScenario(LoadScenario()).c_str(), stdout);
        return true;
    }
    if (cmd == "where") {
        std::printf("%s\n%s\n", ScenarioPath().c_str(), CallLogPath().c_str());
        return true;
    }
    if (cmd == "reset") {
        SimLock lock;
        return SaveScenario(Scenario());
    }
    if (cmd == "token" && n >= 4) {
        Token t;
        t.name = a[1];
        if (!ParseVendor(a[2], &t.vendor)) return Fail("unknown vendor: %s", a[2]);
        t.slot = std::atoi(a[3].c_str());
        if (!SetFields(t, a, 4)) return false;
        return EditScenario([&](Scenario& s) {
            if (Token* old = s.Find(t.name)) *old = t;
            else s.tokens.push_back(t);
            return true;
        });
    }
    if (cmd == "set" && n >= 3) return EditToken(a[1], [&](Token& t) { return SetFields(t, a, 2); });
    if (cmd == "remove" && n == 2) {
        bool found = false;
        EditScenario([&](Scenario& s) {
            for (auto it = s.tokens.begin(); it != s.tokens.end(); ++it)
                if (it->name == a[1]) {
                    s.tokens.erase(it);
                    found = true;
                    break;
                }
            return found;
        });
        return found || Fail("no token named %s", a[1]);
    }
    if (cmd == "plug" && (n == 2 || n == 3))
        return EditToken(a[1], [&](Token& t) {
            if (n == 3) t.slot = std::atoi(a[2].c_str());
            t.plugged = true;
            return true;
        });
    if (cmd == "pull" && n == 2)
        return EditToken(a[1], [](Token& t) { return !(t.plugged = false); });
    if (cmd == "set-pin" && (n == 3 || n == 4))
        return EditToken(a[1], [&](Token& t) {
            t.pin = a[2];
            if (n == 4) t.maxAttempts = std::atoi(a[3].c_str());
            t.attemptsLeft = t.maxAttempts;
            t.locked = false;
            return true;
        });
    if ((cmd == "lock" || cmd == "unlock") && n == 2)
        return EditToken(a[1], [&](Token& t) {
            t.locked = cmd == "lock";
            t.attemptsLeft = t.locked ? 0 : t.maxAttempts;
            return true;
        });
    if (cmd == "cert" && n == 3)
        return EditToken(a[1], [&](Token& t) {
            t.certs.push_back(a[2]);
            return true;
        });
    if (cmd == "slots" && n == 3) {
        Vendor v;
        if (!ParseVendor(a[1], &v)) return Fail("unknown vendor: %s", a[1]);
        return EditScenario([&](Scenario& s) {
            s.slots[static_cast<int>(v)] = std::atoi(a[2].c_str());
            return true;
        });
    }
    if (cmd == "key-event" && n >= 2)
        return EditScenario([&](Scenario& s) {
            s.keyEvents.insert(s.keyEvents.end(), a.begin() + 1, a.end());
            return true;
        });
    if (cmd == "fail" && (n == 3 || n == 4)) {
        std::string line = a[1] + " = " + a[2] + (n == 4 ? " x" + a[3] : "");
        Scenario one = ParseScenario("[fail]\n" + line + "\n");
        if (one.failures.empty()) return Fail("not a failure: %s", line);
        return EditScenario([&](Scenario& s) {
            const Failure& f = one.failures.front();
            for (auto it = s.failures.begin(); it != s.failures.end();)
                it = it->module == f.module && it->function == f.function ? s.failures.erase(it)
                                                                           : std::next(it);
            s.failures.push_back(f);
            return true;
        });
    }
    if (cmd == "unfail" && n == 2)
        return EditScenario([&](Scenario& s) {
            if (a[1] == "all") s.failures.clear();
            for (auto it = s.failures.begin(); it != s.failures.end();) {
                std::string key = (it->module.empty() ? "" : it->module + "!") + it->function;
                it = key == a[1] ? s.failures.erase(it) : std::next(it);
            }
            return true;
        });
    if (cmd == "log" && n == 1) {
        std::string text;
        SimLock lock;
        ReadTextFile(CallLogPath(), &text);
        std::fputs(text.c_str(), stdout);
        return true;
    }
    if (cmd == "log" && n == 2 && a[1] == "clear") {
        ClearCallLog();
        return true;
    }
    std::fputs(kUsage, stderr);
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    return Command(Args(argv + 1, argv + argc)) ? 0 : 1;
}
