// The Huahong component, created by its class id and called by vtable
// position as the product calls it: 9 key event, 10 PIN verification,
// 12 PIN change.
#include "harness/Check.h"
#include "sim/SimWorkstation.h"

#include <windows.h>
#include <oleauto.h>

#include <string>

namespace {

const CLSID kClsid = {0x91798A3B, 0xFEE5, 0x4158, {0xB1, 0xB1, 0xFC, 0x40, 0x0C, 0x7D, 0x47, 0x3A}};
const IID kIid = {0x3D3B9515, 0xC3D4, 0x4F64, {0xBF, 0x82, 0x21, 0xED, 0xEB, 0xC9, 0xE9, 0x98}};

using NoArgFn = HRESULT(STDMETHODCALLTYPE*)(void*, BSTR*);
using OneArgFn = HRESULT(STDMETHODCALLTYPE*)(void*, BSTR, BSTR*);
using TwoArgFn = HRESULT(STDMETHODCALLTYPE*)(void*, BSTR, BSTR, BSTR*);

std::string Take(BSTR b)
{
    std::string s;
    for (const wchar_t* p = b; p && *p; ++p) s += static_cast<char>(*p);
    ::SysFreeString(b);
    return s;
}

class Component {
public:
    Component() { ::CoCreateInstance(kClsid, nullptr, 7, kIid, &m_p); }
    ~Component() { if (m_p) static_cast<IUnknown*>(m_p)->Release(); }
    bool ok() const { return m_p != nullptr; }
    std::string KeyEvent() { BSTR b = nullptr; Slot<NoArgFn>(9)(m_p, &b); return Take(b); }
    std::string Verify(const wchar_t* pin)
    {
        BSTR in = ::SysAllocString(pin), b = nullptr;
        m_hr = Slot<OneArgFn>(10)(m_p, in, &b);
        ::SysFreeString(in);
        return Take(b);
    }
    std::string Change(const wchar_t* oldPin, const wchar_t* newPin)
    {
        BSTR o = ::SysAllocString(oldPin), n = ::SysAllocString(newPin), b = nullptr;
        m_hr = Slot<TwoArgFn>(12)(m_p, o, n, &b);
        ::SysFreeString(o);
        ::SysFreeString(n);
        return Take(b);
    }
    HRESULT hr() const { return m_hr; }
private:
    template <class Fn> Fn Slot(int i) { return reinterpret_cast<Fn>((*static_cast<void***>(m_p))[i]); }
    void* m_p = nullptr;
    HRESULT m_hr = S_OK;
};

}  // namespace

TEST(KeyComm_EventsAndPinAnswers)
{
    sim::Scenario s;
    s.tokens.push_back(simtest::MakeToken("hh1", sim::Vendor::Huahong, 1, false));
    s.tokens.back().maxAttempts = s.tokens.back().attemptsLeft = 3;
    simtest::Reset(s);
    ::CoInitialize(nullptr);
    {
        Component c;
        CHECK(c.ok()) << "registered by the installation";
        if (!c.ok()) return;
        CHECK_EQ(c.KeyEvent(), "0");
        CHECK_EQ(c.Verify(L"123456"), "") << "no token: empty answer";
        simtest::Plug("hh1", true);
        CHECK_EQ(c.KeyEvent(), "2");
        CHECK_EQ(c.KeyEvent(), "0");

        struct Case { const wchar_t* oldPin; const wchar_t* newPin; const char* answer; };
        const Case cases[] = {
            {L"123456", nullptr, "36864"}, {L"", nullptr, "-300"},
            {L"999999", nullptr, "2"},     {L"123456", L"abcdef", "36864"},
            {L"123456", L"abcdef", "2"},   {L"abcdef", L"", "-300"},
            {L"x", nullptr, "1"},          {L"y", nullptr, "0"},
            {L"abcdef", nullptr, "0"},
        };
        for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
            const Case& k = cases[i];
            std::string answer = k.newPin ? c.Change(k.oldPin, k.newPin) : c.Verify(k.oldPin);
            CHECK_EQ(answer, k.answer) << "case " << i;
        }

        simtest::Plug("hh1", false);
        CHECK_EQ(c.KeyEvent(), "1");
        simtest::Edit([](sim::Scenario& sc) { sc.keyEvents = {"7"}; });
        CHECK_EQ(c.KeyEvent(), "7") << "queued events come first";
        simtest::Edit([](sim::Scenario& sc) { sc.failures.push_back({"", "VerifyPin", 0x80004005, 1}); });
        c.Verify(L"123456");
        CHECK_EQ(c.hr(), static_cast<HRESULT>(0x80004005));
        CHECK_EQ(simtest::Calls("VerifyPin").size(), 8u);
    }
    ::CoUninitialize();
}
