#include "huahong/KeyAnswers.h"

#include "core/PinRules.h"

namespace sim {

std::string VerifyPinAnswer(Token* token, const std::string& pin)
{
    if (!token) return "";
    if (pin.empty()) return "-300";
    switch (CheckUserPin(*token, pin)) {
    case PinOutcome::Right: return "36864";
    case PinOutcome::Locked: return "0";
    default: return std::to_string(token->attemptsLeft);
    }
}

std::string ChangePinAnswer(Token* token, const std::string& oldPin, const std::string& newPin)
{
    if (!token) return "";
    if (oldPin.empty() || newPin.empty()) return "-300";
    std::string answer = VerifyPinAnswer(token, oldPin);
    if (answer != "36864") return answer;
    if (!IsPinText(newPin) || !IsPinLengthAllowed(*token, newPin)) return "-301";
    token->pin = newPin;
    return answer;
}

Token* HuahongToken(Scenario& s)
{
    for (int slot = 1; slot <= s.SlotCount(Vendor::Huahong); ++slot)
        if (Token* t = s.PluggedAt(Vendor::Huahong, slot)) return t;
    return nullptr;
}

std::set<std::string> KeyEventTracker::PluggedNames(Scenario& s)
{
    std::set<std::string> names;
    for (int slot = 1; slot <= s.SlotCount(Vendor::Huahong); ++slot)
        if (Token* t = s.PluggedAt(Vendor::Huahong, slot)) names.insert(t->name);
    return names;
}

std::string KeyEventTracker::Next(Scenario& s, bool* scenarioChanged)
{
    *scenarioChanged = false;
    if (!s.keyEvents.empty()) {
        std::string e = s.keyEvents.front();
        s.keyEvents.erase(s.keyEvents.begin());
        *scenarioChanged = true;
        return e;
    }
    std::set<std::string> now = PluggedNames(s);
    for (auto it = m_seen.begin(); it != m_seen.end(); ++it)
        if (!now.count(*it)) {
            m_seen.erase(it);
            return "1";
        }
    if (now != m_seen) {
        m_seen = now;
        return "2";
    }
    return "0";
}

}  // namespace sim
