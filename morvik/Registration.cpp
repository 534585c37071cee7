// DllRegisterServer and DllUnregisterServer.
#include "Registration.h"

#include "ComHandles.h"
#include "Identifiers.h"
#include "Module.h"
#include "resource.h"

#include <comcat.h>

#include <string>

namespace morvik {

// The system registrar's interface (the registry-script engine).  Declared
// outside the unnamed namespace: the compiler must not conclude that nothing
// implements it.
struct IRegistrar : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE AddReplacement(LPCOLESTR key, LPCOLESTR item) = 0;
    virtual HRESULT STDMETHODCALLTYPE ClearReplacements() = 0;
    virtual HRESULT STDMETHODCALLTYPE ResourceRegisterSz(LPCOLESTR file, LPCOLESTR id, LPCOLESTR type) = 0;
    virtual HRESULT STDMETHODCALLTYPE ResourceUnregisterSz(LPCOLESTR file, LPCOLESTR id, LPCOLESTR type) = 0;
    virtual HRESULT STDMETHODCALLTYPE FileRegister(LPCOLESTR file) = 0;
    virtual HRESULT STDMETHODCALLTYPE FileUnregister(LPCOLESTR file) = 0;
    virtual HRESULT STDMETHODCALLTYPE StringRegister(LPCOLESTR data) = 0;
    virtual HRESULT STDMETHODCALLTYPE StringUnregister(LPCOLESTR data) = 0;
    virtual HRESULT STDMETHODCALLTYPE ResourceRegister(LPCOLESTR file, UINT id, LPCOLESTR type) = 0;
    virtual HRESULT STDMETHODCALLTYPE ResourceUnregister(LPCOLESTR file, UINT id, LPCOLESTR type) = 0;
};

namespace {


// The DLL's full path as GetModuleFileNameA gives it, in UTF-16.
std::wstring ModulePath()
{
    char path[MAX_PATH * 2] = {};
    DWORD n = ::GetModuleFileNameA(ModuleInstance(), path, sizeof path);
    if (n == 0 || n >= sizeof path) return std::wstring();
    int wn = ::MultiByteToWideChar(CP_ACP, 0, path, static_cast<int>(n), nullptr, 0);
    std::wstring wide(wn > 0 ? wn : 0, L'\0');
    if (wn > 0) ::MultiByteToWideChar(CP_ACP, 0, path, static_cast<int>(n), &wide[0], wn);
    return wide;
}

// The script quotes strings with single quotes: a quote in the path is
// written twice.
std::wstring QuoteDoubled(const std::wstring& text)
{
    std::wstring out;
    for (wchar_t c : text) {
        out += c;
        if (c == L'\'') out += c;
    }
    return out;
}

// The type library from the DLL's resources, else from a ".tlb" beside it;
// `loadedFrom` receives the path that worked.
HRESULT LoadOwnTypeLib(const std::wstring& module, ITypeLib** out, std::wstring* loadedFrom)
{
    HRESULT hr = ::LoadTypeLib(module.c_str(), out);
    if (SUCCEEDED(hr)) {
        *loadedFrom = module;
        return hr;
    }
    std::wstring tlb = module;
    size_t dot = tlb.find_last_of(L'.');
    if (dot != std::wstring::npos) tlb.erase(dot);
    tlb += L".tlb";
    hr = ::LoadTypeLib(tlb.c_str(), out);
    if (SUCCEEDED(hr)) *loadedFrom = tlb;
    return hr;
}

HRESULT RegisterOwnTypeLib(const std::wstring& module)
{
    ComPtr<ITypeLib> library;
    std::wstring path;
    HRESULT hr = LoadOwnTypeLib(module, library.Out(), &path);
    if (FAILED(hr)) return hr;
    std::wstring helpDir = module.substr(0, module.find_last_of(L"\\/:") + 1);
    return ::RegisterTypeLib(library.Get(), &path[0], &helpDir[0]);
}

void UnregisterOwnTypeLib(const std::wstring& module)
{
    ComPtr<ITypeLib> library;
    std::wstring path;
    if (FAILED(LoadOwnTypeLib(module, library.Out(), &path))) return;
    TLIBATTR* attr = nullptr;
    if (FAILED(library->GetLibAttr(&attr))) return;
    const TLIBATTR copy = *attr;
    library->ReleaseTLibAttr(attr);

    using UnRegisterTypeLibFn = HRESULT(WINAPI*)(REFGUID, WORD, WORD, LCID, SYSKIND);
    Library oleaut(::LoadLibraryA("oleaut32.dll"));
    if (!oleaut) return;
    auto unregister = reinterpret_cast<UnRegisterTypeLibFn>(
        ::GetProcAddress(oleaut.Get(), "UnRegisterTypeLib"));
    if (unregister)
        unregister(copy.guid, copy.wMajorVerNum, copy.wMinorVerNum, copy.lcid, copy.syskind);
}

// Registers or unregisters a class's implemented categories, one per call.
// Without a categories manager there is nothing to do.
HRESULT UpdateCategories(int row, bool doRegister)
{
    ComPtr<ICatRegister> manager;
    if (FAILED(::CoCreateInstance(kClsidCategoriesManager, nullptr, CLSCTX_INPROC_SERVER,
                                  kIidCatRegister, manager.OutVoid())))
        return S_OK;
    for (int n = 0; n < CategoryCount(row); ++n) {
        CATID catid = Category(row, n);
        HRESULT hr = doRegister ? manager->RegisterClassImplCategories(ClassId(row), 1, &catid)
                                : manager->UnRegisterClassImplCategories(ClassId(row), 1, &catid);
        if (FAILED(hr) && doRegister) return hr;
    }
    return S_OK;
}

// The class key goes with all its subkeys.  The registrar deletes only the
// keys its script names, so the "Implemented Categories" key that the
// categories manager leaves (empty) would keep it alive.
void DeleteClassKey(const GUID& clsid)
{
    wchar_t guid[40] = {};
    if (!::StringFromGUID2(clsid, guid, 40)) return;
    std::wstring path = std::wstring(L"CLSID\\") + guid;
    ::RegDeleteTreeW(HKEY_CLASSES_ROOT, path.c_str());
}

}  // namespace

HRESULT RunRegistryScript(bool doRegister)
{
    std::wstring module = ModulePath();
    if (module.empty()) return HRESULT_FROM_WIN32(::GetLastError());
    ComPtr<IRegistrar> registrar;
    HRESULT hr = ::CoCreateInstance(kClsidRegistrar, nullptr, CLSCTX_INPROC_SERVER, kIidRegistrar,
                                    registrar.OutVoid());
    if (FAILED(hr)) return hr;
    hr = registrar->AddReplacement(L"Module", QuoteDoubled(module).c_str());
    if (FAILED(hr)) return hr;
    return doRegister ? registrar->ResourceRegister(module.c_str(), IDR_GETSERIAL, L"REGISTRY")
                      : registrar->ResourceUnregister(module.c_str(), IDR_GETSERIAL, L"REGISTRY");
}

}  // namespace morvik

using namespace morvik;

STDAPI DllRegisterServer()
{
    try {
        for (int row = 0; row < ClassCount(); ++row) {
            // The script first: its forced removal of the class key also
            // wipes categories a stale registration left.
            HRESULT hr = UpdateClassRegistry(row, true);
            if (FAILED(hr)) return hr;
            hr = UpdateCategories(row, true);
            if (FAILED(hr)) return hr;
        }
        std::wstring module = ModulePath();
        if (module.empty()) return E_FAIL;
        return RegisterOwnTypeLib(module);
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

STDAPI DllUnregisterServer()
{
    try {
        for (int row = 0; row < ClassCount(); ++row) {
            UpdateClassRegistry(row, false);
            UpdateCategories(row, false);
            DeleteClassKey(ClassId(row));
        }
        std::wstring module = ModulePath();
        if (!module.empty()) UnregisterOwnTypeLib(module);
    } catch (...) {
        // Unregistration never fails.
    }
    return S_OK;
}
