#include "GetSerialObject.h"

#include "Identifiers.h"
#include "Module.h"
#include "SerialReader.h"
#include "TypeInfoCache.h"

#include <new>

namespace morvik {

HRESULT GetSerialObject::Create(IUnknown* outer, REFIID iid, void** out)
{
    GetSerialObject* object = new (std::nothrow) GetSerialObject(outer);
    if (!object) return E_OUTOFMEMORY;
    HRESULT hr = object->m_inner.QueryInterface(iid, out);
    if (FAILED(hr)) delete object;  // nobody holds it yet
    return hr;
}

GetSerialObject::GetSerialObject(IUnknown* outer) : m_outer(outer) { LockModule(); }

GetSerialObject::~GetSerialObject() { UnlockModule(); }

// The interface map: IUnknown, IGetSerial and IDispatch, all on the dual
// face (an aggregate's IUnknown is our inner one).
STDMETHODIMP GetSerialObject::Inner::QueryInterface(REFIID iid, void** out)
{
    if (!out) return E_POINTER;
    IUnknown* answer = nullptr;
    if (::IsEqualIID(iid, IID_IUnknown))
        answer = m_owner.m_outer ? static_cast<IUnknown*>(this) : static_cast<IGetSerial*>(&m_owner);
    else if (::IsEqualIID(iid, kIidGetSerial) || ::IsEqualIID(iid, IID_IDispatch))
        answer = static_cast<IGetSerial*>(&m_owner);
    *out = answer;
    if (!answer) return E_NOINTERFACE;
    answer->AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) GetSerialObject::Inner::AddRef() { return ++m_owner.m_refs; }

STDMETHODIMP_(ULONG) GetSerialObject::Inner::Release()
{
    ULONG refs = --m_owner.m_refs;
    if (refs == 0) delete &m_owner;
    return refs;
}

STDMETHODIMP GetSerialObject::QueryInterface(REFIID iid, void** out)
{
    return m_outer ? m_outer->QueryInterface(iid, out) : m_inner.QueryInterface(iid, out);
}

STDMETHODIMP_(ULONG) GetSerialObject::AddRef()
{
    return m_outer ? m_outer->AddRef() : m_inner.AddRef();
}

STDMETHODIMP_(ULONG) GetSerialObject::Release()
{
    return m_outer ? m_outer->Release() : m_inner.Release();
}

STDMETHODIMP GetSerialObject::GetTypeInfoCount(UINT* count)
{
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
}

STDMETHODIMP GetSerialObject::GetTypeInfo(UINT, LCID lcid, ITypeInfo** out)
{
    return morvik::GetTypeInfo(lcid, out);
}

STDMETHODIMP GetSerialObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID lcid,
                                            DISPID* ids)
{
    return morvik::GetIDsOfNames(names, count, lcid, ids);
}

STDMETHODIMP GetSerialObject::Invoke(DISPID id, REFIID, LCID lcid, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argError)
{
    return morvik::Invoke(static_cast<IGetSerial*>(this), id, lcid, flags, params, result,
                          exception, argError);
}

STDMETHODIMP GetSerialObject::GetNum(BSTR name, BSTR* serial)
{
    if (!serial) return E_POINTER;
    *serial = nullptr;
    try {
        std::wstring text = ReadSerialForCaller(name, name ? ::SysStringLen(name) : 0);
        *serial = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    } catch (...) {
        // Only allocation can throw here.
    }
    return *serial ? S_OK : E_OUTOFMEMORY;
}

}  // namespace morvik
