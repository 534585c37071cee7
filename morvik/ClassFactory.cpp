#include "ClassFactory.h"

#include "Module.h"

namespace morvik {

STDMETHODIMP ClassFactory::QueryInterface(REFIID iid, void** out)
{
    if (!out) return E_POINTER;
    if (::IsEqualIID(iid, IID_IUnknown) || ::IsEqualIID(iid, IID_IClassFactory)) {
        *out = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) ClassFactory::AddRef()
{
    Lock hold(m_refLock);
    LONG refs = ::InterlockedIncrement(&m_refs);
    if (refs == 2) LockModule();  // the first outside reference
    return refs;
}

STDMETHODIMP_(ULONG) ClassFactory::Release()
{
    LONG refs;
    {
        Lock hold(m_refLock);
        refs = ::InterlockedDecrement(&m_refs);
        if (refs == 1) UnlockModule();  // the last outside reference went
    }
    if (refs == 0) delete this;
    return refs;
}

STDMETHODIMP ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out)
{
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer && !::IsEqualIID(iid, IID_IUnknown)) return CLASS_E_NOAGGREGATION;
    return m_create(outer, iid, out);
}

STDMETHODIMP ClassFactory::LockServer(BOOL lock)
{
    if (lock)
        LockModule();
    else
        UnlockModule();
    return S_OK;
}

}  // namespace morvik
