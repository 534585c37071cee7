// The objects a simulated token holds, as attribute lists: its certificates
// (one per DER file of the scenario) and, for HaiTai, the token's own serial
// attributes that the module answers for a session handle.
#pragma once

#include "core/Scenario.h"
#include "pkcs11/Cryptoki.h"

#include <string>
#include <vector>

namespace sim {

struct Attribute {
    CK_ATTRIBUTE_TYPE type;
    std::string value;  // raw bytes
};
using AttributeList = std::vector<Attribute>;

AttributeList CertificateAttributes(const std::string& derPath);
AttributeList HaiTaiSerialAttributes(const Token& token);

// Whether an object matches a search template: every entry present with
// the same bytes.
bool Matches(const AttributeList& object, const CK_ATTRIBUTE* pattern, CK_ULONG count);

// Fills a C_GetAttributeValue template from an object, by the standard's
// rules: a null value pointer asks for the length, a short buffer or an
// unknown type marks that entry unavailable and the call's result says so.
CK_RV ReadAttributes(const AttributeList& object, CK_ATTRIBUTE* attributes, CK_ULONG count);

std::string ULongBytes(CK_ULONG value);

}  // namespace sim
