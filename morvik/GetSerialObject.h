// The GetSerial object: the dual interface IGetSerial (which is also its
// IDispatch and its IUnknown), created plain or inside an aggregate.
#pragma once

#include "Morvik_h.h"

namespace morvik {

class GetSerialObject final : public IGetSerial {
public:
    // The class factory's creation routine: a plain object when `outer` is
    // null, else one aggregated into `outer`.
    static HRESULT Create(IUnknown* outer, REFIID iid, void** out);

    // IUnknown of the dual face: the outer object's when aggregated.
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IDispatch, served from the registered type library.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** out) override;
    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                               DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                        VARIANT* result, EXCEPINFO* exception, UINT* argError) override;

    // IGetSerial
    STDMETHODIMP GetNum(BSTR name, BSTR* serial) override;

private:
    // The object's own IUnknown, which an aggregate holds and which never
    // delegates.
    class Inner final : public IUnknown {
    public:
        explicit Inner(GetSerialObject& owner) : m_owner(owner) {}
        STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
        STDMETHODIMP_(ULONG) AddRef() override;
        STDMETHODIMP_(ULONG) Release() override;
    private:
        GetSerialObject& m_owner;
    };

    explicit GetSerialObject(IUnknown* outer);
    ~GetSerialObject();

    Inner m_inner{*this};
    IUnknown* m_outer;  // null for a plain object; not referenced (it owns us)
    ULONG m_refs = 0;   // one apartment thread calls the object: no interlock
};

}  // namespace morvik
