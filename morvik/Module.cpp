// DllMain and the class table: the exports DllCanUnloadNow and
// DllGetClassObject.
#include "Module.h"

#include "ClassFactory.h"
#include "GetSerialObject.h"
#include "Identifiers.h"
#include "Registration.h"

#include <new>

namespace morvik {
namespace {

// One row per creatable class.
struct ClassEntry {
    const GUID* clsid;
    HRESULT (*updateRegistry)(bool doRegister);
    HRESULT (*create)(IUnknown* outer, REFIID iid, void** out);
    const GUID* const* categories;
    int categoryCount;
    ClassFactory* factory;  // cached from the first request until process detach
};

const GUID* const kGetSerialCategories[] = {&kCatidSafeForScripting, &kCatidSafeForInitializing};

// Created at process attach, destroyed at process detach.
struct ModuleState {
    CriticalSection typeInfoLock;
    CriticalSection factoryLock;
    ClassEntry classes[1] = {{&kClsidGetSerial, &RunRegistryScript, &GetSerialObject::Create,
                              kGetSerialCategories, 2, nullptr}};
    void (*cleanups[8])() = {};
    int cleanupCount = 0;
};

HINSTANCE g_instance = nullptr;
volatile LONG g_lockCount = 0;
ModuleState* g_state = nullptr;
alignas(ModuleState) unsigned char g_stateStorage[sizeof(ModuleState)];

void ProcessAttach(HINSTANCE instance)
{
    g_instance = instance;
    g_state = new (g_stateStorage) ModuleState;
    ::DisableThreadLibraryCalls(instance);
}

void ProcessDetach()
{
    if (!g_state) return;
    for (ClassEntry& c : g_state->classes) {
        if (c.factory) c.factory->Release();
        c.factory = nullptr;
    }
    // The locks go before the clean-up routines run: nothing else runs now.
    void (*cleanups[8])();
    int count = g_state->cleanupCount;
    for (int i = 0; i < count; ++i) cleanups[i] = g_state->cleanups[i];
    g_state->~ModuleState();
    g_state = nullptr;
    for (int i = 0; i < count; ++i) cleanups[i]();
}

}  // namespace

HINSTANCE ModuleInstance() { return g_instance; }
LONG LockModule() { return ::InterlockedIncrement(&g_lockCount); }
LONG UnlockModule() { return ::InterlockedDecrement(&g_lockCount); }
LONG LockCount() { return g_lockCount; }
CriticalSection& TypeInfoLock() { return g_state->typeInfoLock; }
CriticalSection& FactoryLock() { return g_state->factoryLock; }

void AddCleanup(void (*routine)())
{
    if (g_state->cleanupCount < static_cast<int>(sizeof g_state->cleanups / sizeof g_state->cleanups[0]))
        g_state->cleanups[g_state->cleanupCount++] = routine;
}

// The class table's rows, for registration.
int ClassCount() { return 1; }
const GUID& ClassId(int i) { return *g_state->classes[i].clsid; }
HRESULT UpdateClassRegistry(int i, bool doRegister) { return g_state->classes[i].updateRegistry(doRegister); }
int CategoryCount(int i) { return g_state->classes[i].categoryCount; }
const GUID& Category(int i, int n) { return *g_state->classes[i].categories[n]; }

}  // namespace morvik

using namespace morvik;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        ProcessAttach(instance);
    else if (reason == DLL_PROCESS_DETACH)
        ProcessDetach();
    return TRUE;
}

STDAPI DllCanUnloadNow()
{
    return LockCount() == 0 ? S_OK : S_FALSE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* out)
{
    if (!out) return E_POINTER;
    *out = nullptr;
    for (ClassEntry& c : g_state->classes) {
        if (!::IsEqualCLSID(clsid, *c.clsid)) continue;
        if (!c.factory) {
            Lock hold(FactoryLock());
            if (!c.factory) {
                ClassFactory* factory = new (std::nothrow) ClassFactory(c.create);
                if (!factory) return E_OUTOFMEMORY;
                c.factory = factory;  // the cache's own reference
            }
        }
        return c.factory->QueryInterface(iid, out);
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}
