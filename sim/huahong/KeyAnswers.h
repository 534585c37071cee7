// The Huahong component's answers, as texts: PIN results ("36864" right,
// attempts left after a wrong PIN, "0" locked, "-300" empty PIN, "-301" a
// new PIN the token refuses, empty when no token) and key events ("0"
// nothing, "1" removed, "2" inserted).
#pragma once

#include "core/Scenario.h"

#include <set>
#include <string>

namespace sim {

std::string VerifyPinAnswer(Token* token, const std::string& pin);
std::string ChangePinAnswer(Token* token, const std::string& oldPin, const std::string& newPin);

// The first plugged-in Huahong token, by slot.
Token* HuahongToken(Scenario& s);

// Turns what the scenario shows into key events for one component
// instance: queued events first, then a removal, then an insertion, each
// reported once.
class KeyEventTracker {
public:
    explicit KeyEventTracker(Scenario& s) : m_seen(PluggedNames(s)) {}
    std::string Next(Scenario& s, bool* scenarioChanged);
private:
    static std::set<std::string> PluggedNames(Scenario& s);
    std::set<std::string> m_seen;
};

}  // namespace sim
