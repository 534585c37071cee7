// The class factory, one per class, cached by DllGetClassObject until the
// DLL is detached.  The cache's own reference does not count towards the
// lock count: only references that clients hold keep the DLL loaded.
#pragma once

#include "ComHandles.h"

#include <unknwn.h>

namespace morvik {

class ClassFactory final : public IClassFactory {
public:
    using CreateFn = HRESULT (*)(IUnknown* outer, REFIID iid, void** out);
    explicit ClassFactory(CreateFn create) : m_create(create) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
    STDMETHODIMP LockServer(BOOL lock) override;

private:
    ~ClassFactory() = default;

    CreateFn m_create;
    volatile LONG m_refs = 1;  // the cache's reference
    CriticalSection m_refLock;
};

}  // namespace morvik
