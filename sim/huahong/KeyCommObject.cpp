#include "huahong/KeyCommObject.h"

#include "core/SimCall.h"

#include <string>

using namespace sim;

LONG KeyCommObject::s_alive = 0;

namespace {

const char kModule[] = "HHUKEYCOMM.dll";

std::string Ansi(BSTR s)
{
    if (!s) return "";
    int n = ::WideCharToMultiByte(CP_ACP, 0, s, -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) ::WideCharToMultiByte(CP_ACP, 0, s, -1, &out[0], n, nullptr, nullptr);
    return out;
}

HRESULT Answer(SimCall& call, const std::string& text, BSTR* out)
{
    int n = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    *out = ::SysAllocStringLen(nullptr, n > 0 ? n - 1 : 0);
    if (!*out) return static_cast<HRESULT>(call.Return(E_OUTOFMEMORY));
    if (n > 1) ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, *out, n);
    call.ReturnText("0x0", "\"" + text + "\"");
    return S_OK;
}

// Late-bound names, DISPIDs 1 to 6 in vtable order.
const wchar_t* const kMethodNames[] = {L"GetVersion", L"GetKeyState", L"GetKeyEvent",
                                       L"VerifyPin", L"GetRetryCount", L"ChangePin"};

}  // namespace

#define KEYCOMM_CALL(name, args)                                         \
    if (!out) return E_POINTER;                                          \
    *out = nullptr;                                                      \
    SimCall call(kModule, name, args);                                   \
    if (call.Injected()) return static_cast<HRESULT>(call.InjectedCode())

KeyCommObject::KeyCommObject()
{
    SimLock lock;
    Scenario s = LoadScenario();
    m_events = new KeyEventTracker(s);
    ::InterlockedIncrement(&s_alive);
}

KeyCommObject::~KeyCommObject()
{
    delete m_events;
    ::InterlockedDecrement(&s_alive);
}

HRESULT KeyCommObject::QueryInterface(REFIID iid, void** out)
{
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IHHUKeyComm) {
        *out = static_cast<IHHUKeyComm*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG KeyCommObject::AddRef() { return ::InterlockedIncrement(&m_refs); }

ULONG KeyCommObject::Release()
{
    LONG n = ::InterlockedDecrement(&m_refs);
    if (n == 0) delete this;
    return n;
}

HRESULT KeyCommObject::GetTypeInfoCount(UINT* count)
{
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT KeyCommObject::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info) *info = nullptr;
    return E_NOTIMPL;
}

HRESULT KeyCommObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) {
        ids[i] = DISPID_UNKNOWN;
        for (int m = 0; m < 6 && i == 0; ++m)
            if (::lstrcmpiW(names[0], kMethodNames[m]) == 0) ids[0] = m + 1;
        if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

HRESULT KeyCommObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                              VARIANT* result, EXCEPINFO*, UINT* argErr)
{
    static const UINT kArgCount[] = {0, 0, 0, 1, 0, 2};
    if (id < 1 || id > 6) return DISP_E_MEMBERNOTFOUND;
    if (!(flags & DISPATCH_METHOD) && !(flags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
    if (!params || params->cArgs != kArgCount[id - 1]) return DISP_E_BADPARAMCOUNT;
    // Arguments arrive last first.
    VARIANT text[2];
    for (UINT i = 0; i < params->cArgs; ++i) {
        ::VariantInit(&text[i]);
        UINT from = params->cArgs - 1 - i;
        if (FAILED(::VariantChangeType(&text[i], &params->rgvarg[from], 0, VT_BSTR))) {
            if (argErr) *argErr = from;
            for (UINT j = 0; j < i; ++j) ::VariantClear(&text[j]);
            return DISP_E_TYPEMISMATCH;
        }
    }
    BSTR out = nullptr;
    HRESULT hr = E_UNEXPECTED;
    switch (id) {
    case 1: hr = GetVersion(&out); break;
    case 2: hr = GetKeyState(&out); break;
    case 3: hr = GetKeyEvent(&out); break;
    case 4: hr = VerifyPin(text[0].bstrVal, &out); break;
    case 5: hr = GetRetryCount(&out); break;
    case 6: hr = ChangePin(text[0].bstrVal, text[1].bstrVal, &out); break;
    }
    for (UINT i = 0; i < params->cArgs; ++i) ::VariantClear(&text[i]);
    if (SUCCEEDED(hr) && result) {
        ::VariantInit(result);
        result->vt = VT_BSTR;
        result->bstrVal = out;
    } else
        ::SysFreeString(out);
    return hr;
}

HRESULT KeyCommObject::GetVersion(BSTR* out)
{
    KEYCOMM_CALL("GetVersion", "");
    return Answer(call, "3.0.14.0", out);
}

HRESULT KeyCommObject::GetKeyState(BSTR* out)
{
    KEYCOMM_CALL("GetKeyState", "");
    return Answer(call, HuahongToken(call.scenario()) ? "1" : "0", out);
}

HRESULT KeyCommObject::GetKeyEvent(BSTR* out)
{
    KEYCOMM_CALL("GetKeyEvent", "");
    bool changed = false;
    std::string event = m_events->Next(call.scenario(), &changed);
    if (changed) call.Changed();
    return Answer(call, event, out);
}

HRESULT KeyCommObject::VerifyPin(BSTR pin, BSTR* out)
{
    std::string text = Ansi(pin);
    KEYCOMM_CALL("VerifyPin", "pin=\"" + text + "\"");
    call.Changed();
    return Answer(call, VerifyPinAnswer(HuahongToken(call.scenario()), text), out);
}

HRESULT KeyCommObject::GetRetryCount(BSTR* out)
{
    KEYCOMM_CALL("GetRetryCount", "");
    Token* t = HuahongToken(call.scenario());
    return Answer(call, t ? std::to_string(t->locked ? 0 : t->attemptsLeft) : "", out);
}

HRESULT KeyCommObject::ChangePin(BSTR oldPin, BSTR newPin, BSTR* out)
{
    std::string oldText = Ansi(oldPin), newText = Ansi(newPin);
    KEYCOMM_CALL("ChangePin", "old=\"" + oldText + "\" new=\"" + newText + "\"");
    call.Changed();
    return Answer(call, ChangePinAnswer(HuahongToken(call.scenario()), oldText, newText), out);
}
