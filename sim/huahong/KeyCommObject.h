// The component object: IHHUKeyComm over the scenario's Huahong tokens,
// callable early-bound through its vtable or late-bound through IDispatch.
#pragma once

#include "huahong/KeyAnswers.h"
#include "huahong/KeyCommInterface.h"

class KeyCommObject : public IHHUKeyComm {
public:
    KeyCommObject();
    virtual ~KeyCommObject();

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO*, UINT* argErr) override;
    // IHHUKeyComm
    HRESULT STDMETHODCALLTYPE GetVersion(BSTR* version) override;
    HRESULT STDMETHODCALLTYPE GetKeyState(BSTR* state) override;
    HRESULT STDMETHODCALLTYPE GetKeyEvent(BSTR* event) override;
    HRESULT STDMETHODCALLTYPE VerifyPin(BSTR pin, BSTR* result) override;
    HRESULT STDMETHODCALLTYPE GetRetryCount(BSTR* attempts) override;
    HRESULT STDMETHODCALLTYPE ChangePin(BSTR oldPin, BSTR newPin, BSTR* result) override;

    // Objects and server locks alive in this process (DllCanUnloadNow).
    static LONG s_alive;

private:
    LONG m_refs = 1;
    sim::KeyEventTracker* m_events;
};
