// The simulated PKCS#11 modules, driven through the product's own binding
// (common/pkcs11) with the calls the product makes.
#include "harness/Check.h"
#include "pkcs11/Pkcs11Module.h"
#include "core/SimFiles.h"
#include "sim/SimWorkstation.h"

#include <cstring>

using F = Pkcs11Module::Function;
using sim::Vendor;

namespace {

const char kHaiTai[] = "HtPkcs1120485.dll";
const char kHuahong[] = "hhpkcs1114.dll";

bool LoadAndBindAll(Pkcs11Module& m, const char* name)
{
    return m.Load(name) &&
           m.Bind({F::Initialize, F::Finalize, F::GetSlotList, F::GetTokenInfo, F::OpenSession,
                   F::CloseSession, F::Login, F::Logout, F::SetPIN, F::FindObjectsInit,
                   F::FindObjects, F::FindObjectsFinal, F::GetAttributeValue});
}

std::string Field(const unsigned char* p, size_t n) { return std::string(reinterpret_cast<const char*>(p), n); }

// The certificate search of the token monitor: class certificate, on token.
CK_RV FindCertificate(const Pkcs11Module& m, CK_SESSION_HANDLE s, CK_OBJECT_HANDLE* object,
                      CK_ULONG* found)
{
    CK_OBJECT_CLASS cls = CKO_CERTIFICATE;
    CK_BBOOL yes = CK_TRUE;
    CK_ATTRIBUTE pattern[] = {{CKA_CLASS, &cls, sizeof cls}, {CKA_TOKEN, &yes, 1}};
    CK_RV rv = m.FindObjectsInit(s, pattern, 2);
    if (rv != CKR_OK) return rv;
    rv = m.FindObjects(s, object, 1, found);
    m.FindObjectsFinal(s);
    return rv;
}

}  // namespace

TEST(Pkcs11_PlugSeeCertificatePullAndFail)
{
    sim::Scenario s;
    s.tokens.push_back(simtest::MakeToken("hh1", Vendor::Huahong, 2, false));
    s.tokens.back().serial = "0102500000000042";
    simtest::Reset(s);

    Pkcs11Module m;
    CHECK(LoadAndBindAll(m, kHuahong));
    CHECK_EQ(m.Initialize(), CKR_OK);
    Pkcs11Module::SlotList slots = m.ReadSlotList();
    CHECK_EQ(slots.allSlots, 2u);
    CHECK_EQ(slots.withToken.size(), 0u);

    simtest::Plug("hh1", true);
    slots = m.ReadSlotList();
    CHECK_EQ(slots.allSlots, 2u);
    CHECK(slots.withToken.size() == 1 && slots.withToken[0] == 2) << "slot ids are the slot numbers";

    CK_TOKEN_INFO info;
    CHECK_EQ(m.GetTokenInfo(2, &info), CKR_OK);
    CHECK_EQ(Field(info.serialNumber, 16), "0102500000000042");
    CHECK_EQ(m.GetTokenInfo(1, &info), CKR_TOKEN_NOT_PRESENT);

    CK_SESSION_HANDLE session = 0;
    CHECK_EQ(m.OpenSession(2, CKF_SERIAL_SESSION | CKF_RW_SESSION, &session), CKR_OK);
    CK_OBJECT_HANDLE object = 0;
    CK_ULONG found = 0;
    CHECK_EQ(FindCertificate(m, session, &object, &found), CKR_OK);
    CHECK_EQ(found, 1u);

    // The monitor's two-pass read: lengths first, then values.
    CK_ATTRIBUTE attrs[] = {{CKA_CLASS, nullptr, 0}, {CKA_CERTIFICATE_TYPE, nullptr, 0},
                            {CKA_LABEL, nullptr, 0}, {CKA_SUBJECT, nullptr, 0},
                            {CKA_ID, nullptr, 0},    {CKA_VALUE, nullptr, 0}};
    CHECK_EQ(m.GetAttributeValue(session, object, attrs, 6), CKR_OK);
    std::string der;
    sim::ReadTextFile(simtest::CertPath("huahong-user.der"), &der);
    CHECK_EQ(attrs[0].ulValueLen, sizeof(CK_ULONG));
    CHECK_EQ(attrs[5].ulValueLen, der.size());
    CHECK(attrs[3].ulValueLen > 0) << "subject of a real certificate";
    std::vector<std::string> buffers(6);
    for (int i = 0; i < 6; ++i) {
        buffers[i].assign(attrs[i].ulValueLen, '\0');
        attrs[i].pValue = &buffers[i][0];
    }
    CHECK_EQ(m.GetAttributeValue(session, object, attrs, 6), CKR_OK);
    CHECK(buffers[5] == der) << "CKA_VALUE is the DER file";
    CK_ATTRIBUTE tooSmall = {CKA_VALUE, &buffers[0][0], 1};
    CHECK_EQ(m.GetAttributeValue(session, object, &tooSmall, 1), CKR_BUFFER_TOO_SMALL);
    CHECK_EQ(tooSmall.ulValueLen, CK_UNAVAILABLE_INFORMATION);

    simtest::Plug("hh1", false);
    CHECK_EQ(m.GetAttributeValue(session, object, attrs, 6), CKR_DEVICE_REMOVED);
    CHECK_EQ(m.ReadSlotList().withToken.size(), 0u);
    CHECK_EQ(m.CloseSession(session), CKR_OK);

    sim::EditScenario([](sim::Scenario& sc) {
        sc.failures.push_back({"hhpkcs1114.dll", "C_Finalize", 0x5, 1});
        return true;
    });
    CHECK_EQ(m.Finalize(), 0x5u) << "injected once";
    CHECK_EQ(m.Finalize(), CKR_OK);

    auto calls = simtest::Calls();
    CHECK(calls.size() >= 10);
    auto finals = simtest::Calls("C_Finalize");
    CHECK(finals.size() == 2 && finals[0].result == "0x5" && finals[1].result == "0x0" &&
          finals[0].module == kHuahong && finals[0].process == "sim_tests.exe")
        << finals.size();
    auto lists = simtest::Calls("C_GetSlotList");
    CHECK(!lists.empty() && lists[0].args == "tokenPresent=0 list=NULL count=0");
}

TEST(Pkcs11_InitialisationIsProcessWide)
{
    simtest::Reset(sim::Scenario());
    Pkcs11Module a, b;
    CHECK(LoadAndBindAll(a, kHaiTai) && LoadAndBindAll(b, kHaiTai));
    CK_ULONG count = 0;
    CHECK_EQ(a.GetSlotList(CK_FALSE, nullptr, &count), CKR_CRYPTOKI_NOT_INITIALIZED);
    CHECK_EQ(a.Finalize(), CKR_CRYPTOKI_NOT_INITIALIZED);
    CHECK_EQ(a.Initialize(), CKR_OK);
    CHECK_EQ(b.Initialize(), CKR_CRYPTOKI_ALREADY_INITIALIZED);
    CHECK_EQ(b.Finalize(), CKR_OK);
    CHECK_EQ(a.GetSlotList(CK_FALSE, nullptr, &count), CKR_CRYPTOKI_NOT_INITIALIZED);
}

TEST(Pkcs11_EachModuleSeesItsOwnVendor)
{
    sim::Scenario s;
    s.tokens.push_back(simtest::MakeToken("ht1", Vendor::HaiTai, 1, true));
    s.tokens.push_back(simtest::MakeToken("ht2", Vendor::HaiTai, 2, true));
    s.tokens.push_back(simtest::MakeToken("ty1", Vendor::Third, 1, true));
    s.slots[static_cast<int>(Vendor::Fourth)] = 0;
    simtest::Reset(s);
    struct Case { const char* module; CK_ULONG all; size_t present; };
    const Case cases[] = {{kHaiTai, 2, 2}, {kHuahong, 2, 0}, {"typkcs11.dll", 1, 1},
                          {"mwpkcs11_v3.dll", 0, 0}};
    for (const auto& c : cases) {
        Pkcs11Module m;
        CHECK(LoadAndBindAll(m, c.module)) << c.module;
        CHECK_EQ(m.Initialize(), CKR_OK);
        auto slots = m.ReadSlotList();
        CHECK(slots.allSlots == c.all && slots.withToken.size() == c.present)
            << c.module << ": " << slots.allSlots << " slots, " << slots.withToken.size() << " tokens";
        m.Finalize();
    }
}

TEST(Pkcs11_LoginCountsDownLocksAndSetPin)
{
    sim::Scenario s;
    s.tokens.push_back(simtest::MakeToken("ht1", Vendor::HaiTai, 1, true));
    s.tokens.back().maxAttempts = s.tokens.back().attemptsLeft = 3;
    simtest::Reset(s);
    Pkcs11Module m;
    CHECK(LoadAndBindAll(m, kHaiTai));
    CHECK_EQ(m.Initialize(), CKR_OK);
    CK_SESSION_HANDLE h = 0;
    CHECK_EQ(m.OpenSession(1, CKF_SERIAL_SESSION | CKF_RW_SESSION, &h), CKR_OK);

    // Right PIN, a change, then wrong PINs until the token locks.
    struct Step { const char* pin; CK_RV rv; int attemptsAfter; };
    CHECK_EQ(m.Login(h, CKU_USER, "123456", 6), CKR_OK);
    CHECK_EQ(m.SetPIN(h, "123456", 6, "654321", 6), CKR_OK);
    CHECK_EQ(m.SetPIN(h, "654321", 6, "12", 2), CKR_PIN_LEN_RANGE);
    CHECK_EQ(m.Logout(h), CKR_OK);
    CHECK_EQ(m.Logout(h), CKR_USER_NOT_LOGGED_IN);
    const Step steps[] = {{"123456", CKR_PIN_INCORRECT, 2}, {"\x01\x02", CKR_PIN_INVALID, 2},
                          {"000000", CKR_PIN_INCORRECT, 1}, {"111111", CKR_PIN_INCORRECT, 0},
                          {"654321", CKR_PIN_LOCKED, 0}};
    for (size_t i = 0; i < sizeof steps / sizeof steps[0]; ++i) {
        const Step& st = steps[i];
        CHECK_EQ(m.Login(h, CKU_USER, st.pin, static_cast<CK_ULONG>(std::strlen(st.pin))), st.rv)
            << "step " << i;
        CHECK_EQ(simtest::Current().Find("ht1")->attemptsLeft, st.attemptsAfter) << "step " << i;
    }
    CHECK(simtest::Current().Find("ht1")->locked);
    CK_TOKEN_INFO info;
    CHECK(m.GetTokenInfo(1, &info) == CKR_OK && (info.flags & CKF_USER_PIN_LOCKED));
    m.Finalize();
}

TEST(Pkcs11_HaiTaiSerialAttributesThroughSessionHandle)
{
    sim::Scenario s;
    s.tokens.push_back(simtest::MakeToken("ht1", Vendor::HaiTai, 1, true));
    s.tokens.back().ckSerial = "CK0001";
    simtest::Reset(s);
    struct Case { const char* htSerial; std::string expectB; };
    const Case cases[] = {{"2048500000000001", "2048500000000001"}, {"", ""}};
    for (const auto& c : cases) {
        simtest::Edit([&](sim::Scenario& sc) { sc.Find("ht1")->htSerial = c.htSerial; });
        Pkcs11Module m;
        CHECK(LoadAndBindAll(m, kHaiTai));
        m.Initialize();
        CK_SESSION_HANDLE h = 0;
        CHECK_EQ(m.OpenSession(1, 6, &h), CKR_OK);
        char a[18] = {}, b[18] = {};
        CK_ATTRIBUTE t[] = {{CKA_SERIAL_NUMBER, a, 18}, {CKA_HAITAI_TOKEN_SERIAL, b, 18}};
        CHECK_EQ(m.GetAttributeValue(h, h, t, 2), CKR_OK);
        CHECK_EQ(std::string(a), "CK0001");
        CHECK_EQ(std::string(b), c.expectB);
        m.CloseSession(h);
        m.Finalize();
    }
}

// A library that lacks the Cryptoki functions: every call answers
// CKR_FUNCTION_NOT_SUPPORTED instead of going through a null pointer.
TEST(Pkcs11_BindingNeverCallsMissingFunctions)
{
    Pkcs11Module m;
    CHECK(m.Load("GEA20485.dll"));
    CHECK(!m.Bind({F::Initialize, F::GetSlotList}));
    CHECK(!m.IsBound(F::Initialize));
    CHECK_EQ(m.Initialize(), CKR_FUNCTION_NOT_SUPPORTED);
    CHECK_EQ(m.ReadSlotList().countRv, CKR_FUNCTION_NOT_SUPPORTED);
    Pkcs11Module none;
    CHECK(!none.Load("nosuchmodule.dll"));
    CHECK_EQ(none.Finalize(), CKR_FUNCTION_NOT_SUPPORTED);
    CHECK(none.Load(kHuahong, Pkcs11Module::Search::SystemFolders));
}
