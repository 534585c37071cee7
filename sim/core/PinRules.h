// How a simulated token answers a PIN: wrong PINs count down the attempts
// left, the last one locks the token, a right one restores the count.
#pragma once

#include "core/Scenario.h"

namespace sim {

enum class PinOutcome { Right, Wrong, Locked };

PinOutcome CheckUserPin(Token& token, const std::string& pin);

// Printable ASCII only: what the tokens accept as PIN characters.
bool IsPinText(const std::string& pin);
bool IsPinLengthAllowed(const Token& token, const std::string& pin);

}  // namespace sim
