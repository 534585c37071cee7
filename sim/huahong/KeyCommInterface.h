// The component's class and its one interface.  IDispatch takes positions
// 3 to 6; the program relies on 9 (key event), 10 (PIN verification) and
// 12 (PIN change).  Every text goes in and out as a BSTR.
#pragma once

#include <windows.h>
#include <oaidl.h>

// {91798A3B-FEE5-4158-B1B1-FC400C7D473A}
constexpr CLSID CLSID_HHUKeyComm = {0x91798A3B, 0xFEE5, 0x4158,
                                    {0xB1, 0xB1, 0xFC, 0x40, 0x0C, 0x7D, 0x47, 0x3A}};
// {3D3B9515-C3D4-4F64-BF82-21EDEBC9E998}
constexpr IID IID_IHHUKeyComm = {0x3D3B9515, 0xC3D4, 0x4F64,
                                 {0xBF, 0x82, 0x21, 0xED, 0xEB, 0xC9, 0xE9, 0x98}};

struct IHHUKeyComm : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE GetVersion(BSTR* version) = 0;              // 7
    virtual HRESULT STDMETHODCALLTYPE GetKeyState(BSTR* state) = 0;               // 8: "1" a token, "0" none
    virtual HRESULT STDMETHODCALLTYPE GetKeyEvent(BSTR* event) = 0;               // 9
    virtual HRESULT STDMETHODCALLTYPE VerifyPin(BSTR pin, BSTR* result) = 0;      // 10
    virtual HRESULT STDMETHODCALLTYPE GetRetryCount(BSTR* attempts) = 0;          // 11
    virtual HRESULT STDMETHODCALLTYPE ChangePin(BSTR oldPin, BSTR newPin, BSTR* result) = 0;  // 12
};
