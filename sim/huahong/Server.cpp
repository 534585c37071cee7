// HHUKEYCOMM.dll: the in-process server of the Huahong component, with its
// class factory and its self-registration (in the registry view of its own
// architecture).
#include "huahong/KeyCommObject.h"

#include "core/CallLog.h"

#include <olectl.h>

#include <new>
#include <string>

namespace {

HINSTANCE g_instance = nullptr;
const wchar_t kClsidKey[] = L"CLSID\\{91798A3B-FEE5-4158-B1B1-FC400C7D473A}";
const wchar_t kProgId[] = L"HHUKeyComm.KeyComm";

class ClassFactory : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *out = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // One static factory for the process: counting is done by LockServer.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override
    {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        KeyCommObject* object = new (std::nothrow) KeyCommObject;
        if (!object) return E_OUTOFMEMORY;
        HRESULT hr = object->QueryInterface(iid, out);
        object->Release();
        sim::AppendCall("HHUKEYCOMM.dll", "CreateInstance", "", sim::Format("0x%lX", hr), "");
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override
    {
        if (lock) ::InterlockedIncrement(&KeyCommObject::s_alive);
        else ::InterlockedDecrement(&KeyCommObject::s_alive);
        return S_OK;
    }
} g_factory;

bool SetValue(const std::wstring& key, const wchar_t* name, const std::wstring& value)
{
    HKEY h;
    if (::RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &h,
                          nullptr) != ERROR_SUCCESS)
        return false;
    LONG rc = ::RegSetValueExW(h, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                               static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(h);
    return rc == ERROR_SUCCESS;
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_instance = instance;
        ::DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

HRESULT __stdcall DllGetClassObject(REFCLSID clsid, REFIID iid, void** out)
{
    if (!out) return E_POINTER;
    *out = nullptr;
    if (clsid != CLSID_HHUKeyComm) return CLASS_E_CLASSNOTAVAILABLE;
    return g_factory.QueryInterface(iid, out);
}

HRESULT __stdcall DllCanUnloadNow() { return KeyCommObject::s_alive == 0 ? S_OK : S_FALSE; }

HRESULT __stdcall DllRegisterServer()
{
    wchar_t path[MAX_PATH];
    DWORD n = ::GetModuleFileNameW(g_instance, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return SELFREG_E_CLASS;
    std::wstring clsid = kClsidKey;
    bool ok = SetValue(clsid, nullptr, L"HHUKeyComm Class") &&
              SetValue(clsid + L"\\InprocServer32", nullptr, path) &&
              SetValue(clsid + L"\\InprocServer32", L"ThreadingModel", L"Both") &&
              SetValue(clsid + L"\\ProgID", nullptr, kProgId) &&
              SetValue(kProgId, nullptr, L"HHUKeyComm Class") &&
              SetValue(std::wstring(kProgId) + L"\\CLSID", nullptr,
                       L"{91798A3B-FEE5-4158-B1B1-FC400C7D473A}");
    return ok ? S_OK : SELFREG_E_CLASS;
}

HRESULT __stdcall DllUnregisterServer()
{
    std::wstring clsid = kClsidKey;
    ::RegDeleteKeyW(HKEY_CLASSES_ROOT, (clsid + L"\\InprocServer32").c_str());
    ::RegDeleteKeyW(HKEY_CLASSES_ROOT, (clsid + L"\\ProgID").c_str());
    ::RegDeleteKeyW(HKEY_CLASSES_ROOT, clsid.c_str());
    ::RegDeleteKeyW(HKEY_CLASSES_ROOT, (std::wstring(kProgId) + L"\\CLSID").c_str());
    ::RegDeleteKeyW(HKEY_CLASSES_ROOT, kProgId);
    return S_OK;
}

}  // extern "C"
