#include "TypeInfoCache.h"

#include "ComHandles.h"
#include "Identifiers.h"
#include "Module.h"

#include <cwchar>
#include <new>

namespace morvik {
namespace {

struct NameRow {
    BSTR name;
    UINT length;
    DISPID id;
};

// Filled once under TypeInfoLock(); read without it afterwards.
ITypeInfo* volatile g_typeInfo = nullptr;
NameRow* g_names = nullptr;
UINT g_nameCount = 0;

void ReleaseTypeInfo()
{
    for (UINT i = 0; i < g_nameCount; ++i) ::SysFreeString(g_names[i].name);
    delete[] g_names;
    g_names = nullptr;
    g_nameCount = 0;
    if (g_typeInfo) g_typeInfo->Release();
    g_typeInfo = nullptr;
}

// One row per function of the interface: its name, the name's length and
// its DISPID.
void BuildNameTable(ITypeInfo* info)
{
    TYPEATTR* attr = nullptr;
    if (FAILED(info->GetTypeAttr(&attr))) return;
    UINT funcs = attr->cFuncs;
    info->ReleaseTypeAttr(attr);
    g_names = new (std::nothrow) NameRow[funcs];
    if (!g_names) return;
    for (UINT i = 0; i < funcs; ++i) {
        FUNCDESC* desc = nullptr;
        if (FAILED(info->GetFuncDesc(i, &desc))) continue;
        BSTR name = nullptr;
        if (SUCCEEDED(info->GetDocumentation(desc->memid, &name, nullptr, nullptr, nullptr)) && name)
            g_names[g_nameCount++] = {name, ::SysStringLen(name), desc->memid};
        info->ReleaseFuncDesc(desc);
    }
}

HRESULT EnsureLoaded(LCID lcid)
{
    if (g_typeInfo) return S_OK;
    Lock hold(TypeInfoLock());
    if (g_typeInfo) return S_OK;

    ComPtr<ITypeLib> library;
    HRESULT hr = ::LoadRegTypeLib(kLibid, kLibMajor, kLibMinor, lcid, library.Out());
    if (FAILED(hr)) return hr;
    ComPtr<ITypeInfo> info;
    hr = library->GetTypeInfoOfGuid(kIidGetSerial, info.Out());
    if (FAILED(hr)) return hr;
    ComPtr<ITypeInfo> kept;
    if (FAILED(info->QueryInterface(IID_ITypeInfo2, kept.OutVoid()))) *kept.Out() = info.Detach();

    BuildNameTable(kept.Get());
    AddCleanup(&ReleaseTypeInfo);
    g_typeInfo = kept.Detach();
    return S_OK;
}

}  // namespace

HRESULT GetTypeInfo(LCID lcid, ITypeInfo** out)
{
    if (!out) return E_POINTER;
    *out = nullptr;
    HRESULT hr = EnsureLoaded(lcid);
    if (FAILED(hr)) return hr;
    g_typeInfo->AddRef();
    *out = g_typeInfo;
    return S_OK;
}

HRESULT GetIDsOfNames(LPOLESTR* names, UINT count, LCID lcid, DISPID* ids)
{
    if (!names || !ids) return E_POINTER;
    HRESULT hr = EnsureLoaded(lcid);
    if (FAILED(hr)) return hr;
    for (UINT i = 0; i < count; ++i) {
        const UINT length = names[i] ? static_cast<UINT>(std::wcslen(names[i])) : 0;
        bool found = false;
        for (UINT row = g_nameCount; row-- > 0 && names[i];) {
            if (g_names[row].length == length &&
                std::wmemcmp(g_names[row].name, names[i], length) == 0) {
                ids[i] = g_names[row].id;
                found = true;
                break;
            }
        }
        if (!found) {
            // Not in our table (another letter case, say): the type
            // information answers for the whole list.
            hr = g_typeInfo->GetIDsOfNames(names, count, ids);
            if (FAILED(hr)) break;
        }
    }
    return hr;
}

HRESULT Invoke(IDispatch* face, DISPID id, LCID lcid, WORD flags, DISPPARAMS* params,
               VARIANT* result, EXCEPINFO* exception, UINT* argError)
{
    HRESULT hr = EnsureLoaded(lcid);
    if (FAILED(hr)) return hr;
    return g_typeInfo->Invoke(face, id, flags, params, result, exception, argError);
}

}  // namespace morvik
