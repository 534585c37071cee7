// Process-wide state of Morvik: the lock count that decides whether the
// DLL may be unloaded, the two module locks, and the list of clean-up
// routines run at process detach.
#pragma once

#include "ComHandles.h"

#include <windows.h>

namespace morvik {

// The DLL's own instance handle (set at process attach).
HINSTANCE ModuleInstance();

// Live objects, LockServer(TRUE) calls and outside references to the
// cached class factory: while this is not 0 the DLL stays loaded.
LONG LockModule();
LONG UnlockModule();
LONG LockCount();

// Guards the type information cache and the clean-up list.
CriticalSection& TypeInfoLock();
// Serialises the creation of class factories.
CriticalSection& FactoryLock();

// Adds a routine to run at process detach; call with TypeInfoLock held.
void AddCleanup(void (*routine)());

}  // namespace morvik

namespace morvik {

// The rows of the class table, for registration.
int ClassCount();
const GUID& ClassId(int row);
HRESULT UpdateClassRegistry(int row, bool doRegister);
int CategoryCount(int row);
const GUID& Category(int row, int n);

}  // namespace morvik
