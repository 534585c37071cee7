// The current user's personal certificate store of the test prefix, filled
// from the test certificates (DER files in the folder given with --certs).
#pragma once

#include <string>
#include <vector>

namespace certfix {

// Removes every certificate from the current user's "MY" store.
void ClearUserStore();
// Adds the named test certificates ("zhang-sign" for zhang-sign.der).
bool AddToUserStore(const std::vector<std::string>& names);
// Clears the store, then adds the named certificates.
bool SetUserStore(const std::vector<std::string>& names);
// The names of the certificates as the store enumerates them.
std::vector<std::string> StoreOrder();

}  // namespace certfix
