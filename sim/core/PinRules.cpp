#include "core/PinRules.h"

namespace sim {

PinOutcome CheckUserPin(Token& token, const std::string& pin)
{
    if (token.locked || token.attemptsLeft <= 0) {
        token.locked = true;
        token.attemptsLeft = 0;
        return PinOutcome::Locked;
    }
    if (pin == token.pin) {
        token.attemptsLeft = token.maxAttempts;
        return PinOutcome::Right;
    }
    if (--token.attemptsLeft <= 0) {
        token.attemptsLeft = 0;
        token.locked = true;
    }
    return PinOutcome::Wrong;
}

bool IsPinText(const std::string& pin)
{
    for (unsigned char c : pin)
        if (c < 0x20 || c > 0x7E) return false;
    return true;
}

bool IsPinLengthAllowed(const Token& token, const std::string& pin)
{
    int n = static_cast<int>(pin.size());
    return n >= token.minPin && n <= token.maxPin;
}

}  // namespace sim
