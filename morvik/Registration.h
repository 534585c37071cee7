// Self-registration: the registry script, the component categories and the
// type library.
#pragma once

#include <windows.h>

namespace morvik {

// Runs the registry script (resource REGISTRY 101) through the system
// registrar, registering or unregistering.
HRESULT RunRegistryScript(bool doRegister);

}  // namespace morvik
