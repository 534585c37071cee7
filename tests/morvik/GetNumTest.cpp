// GetNum against the simulated tokens: from scripts run by the script host
// (VBScript and JScript), and in this process where the call log, the
// loaded modules and planted files are watched.
#include "harness/Check.h"
#include "morvik/MorvikFixture.h"
#include "sim/SimWorkstation.h"

#include "Morvik_h.h"
#include "SerialRules.h"

#include <ole2.h>

#include <cstring>
#include <fstream>
#include <sstream>

using namespace morviktest;
using sim::Vendor;

namespace {

const char kHaiTai[] = "HtPkcs1120485.dll";
const char kHuahong[] = "hhpkcs1114.dll";
const char kThird[] = "typkcs11.dll";
const char kFourth[] = "mwpkcs11_v3.dll";

// The scenario the other test programs find is the one this program
// found: it is put back when the program ends.
void KeepScenario()
{
    struct Keeper {
        sim::Scenario saved = simtest::Current();
        ~Keeper() { simtest::Reset(saved); }
    };
    static Keeper keeper;
}

sim::Token Token(const std::string& name, Vendor vendor, int slot, const std::string& serial)
{
    sim::Token t = simtest::MakeToken(name, vendor, slot, true);
    t.serial = serial;
    return t;
}

// One plugged token per vendor.
sim::Scenario FourTokens()
{
    KeepScenario();
    sim::Scenario s;
    sim::Token ht = Token("ht1", Vendor::HaiTai, 1, "HT20485A0000001");
    ht.htSerial = "2048500000000001";
    ht.ckSerial = "HT0000000001";
    s.tokens.push_back(ht);
    s.tokens.push_back(Token("hh1", Vendor::Huahong, 1, "0102500000000042"));
    s.tokens.push_back(Token("ty1", Vendor::Third, 1, "TY12"));
    s.tokens.push_back(Token("mw1", Vendor::Fourth, 1, "MW00000000000004"));
    return s;
}

std::string RunScript(const char* script, const std::string& module)
{
    RunResult r = Run("\"" + SystemFolder() + "\\cscript.exe\" //nologo \"" + FilesFolder() + "\\" +
                      script + "\" \"" + module + "\"");
    std::string out = r.output;
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
    if (r.exitCode != 0) return "exit " + std::to_string(r.exitCode) + ": " + out;
    return out;
}

IGetSerial* NewObject()
{
    static bool initialized = (::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), true);
    (void)initialized;
    IGetSerial* object = nullptr;
    ::CoCreateInstance(__uuidof(GetSerial), nullptr, CLSCTX_INPROC_SERVER, __uuidof(IGetSerial),
                       reinterpret_cast<void**>(&object));
    return object;
}

// GetNum in this process, as a client program calls it.
std::string GetNum(const std::string& name)
{
    IGetSerial* object = NewObject();
    if (!object) return "no object";
    std::wstring wide(name.begin(), name.end());
    BSTR in = ::SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    BSTR out = nullptr;
    HRESULT hr = object->GetNum(in, &out);
    std::string text = hr == S_OK ? Narrow(out) : "hr " + std::to_string(hr);
    ::SysFreeString(in);
    ::SysFreeString(out);
    object->Release();
    return text;
}

// The functions a module received since the last reset, in order.
std::string CallsOf(const char* module)
{
    std::string calls;
    for (const sim::CallRecord& c : simtest::Calls())
        if (c.module == module) calls += (calls.empty() ? "" : " ") + c.function;
    return calls;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string TempFolder(const char* name)
{
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    std::string dir = std::string(temp) + name;
    ::CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
}

}  // namespace

TEST(GetNum_SerialRules)
{
    struct Case {
        morvik::ModuleKind kind;
        const char* field;  // 16 bytes, as the module wrote them
        const char* expected;
        size_t expectedLength;
    } cases[] = {
        {morvik::ModuleKind::Huahong, "0102500000000042", "102500000000042", 15},
        {morvik::ModuleKind::Huahong, "0102400000000042", "0102400000000042", 16},
        {morvik::ModuleKind::Huahong, "01025           ", "1025           ", 15},
        {morvik::ModuleKind::Huahong, "0102            ", "0102            ", 16},
        {morvik::ModuleKind::Third, "0102500000000042", "0102500000000042", 16},
        {morvik::ModuleKind::Fourth, "MW12            ", "MW12            ", 16},
        {morvik::ModuleKind::Third, "AB\0CDEFGHIJKLMNO", "AB", 2},
        {morvik::ModuleKind::Third, "\0BCDEFGHIJKLMNOP", "", 0},
    };
    int index = 0;
    for (const Case& c : cases) {
        unsigned char field[16];
        std::memcpy(field, c.field, 16);
        std::string got = morvik::TokenInfoSerial(c.kind, field);
        CHECK_EQ(got, std::string(c.expected, c.expectedLength)) << "case " << index;
        ++index;
    }

    struct HaiTaiCase {
        const char* ck;
        const char* vendor;
        std::string expected;
    } haitai[] = {
        {"HT0000000001", "2048500000000001", "2048500000000001"},
        {"HT0000000001", "", "HT0000000001"},
        {"", "", ""},
        {"123456789012345678", "", "123456789012345678"},  // 18 bytes, no zero: all of them
    };
    for (const HaiTaiCase& c : haitai) {
        unsigned char ck[18] = {}, vendor[18] = {};
        std::memcpy(ck, c.ck, std::strlen(c.ck));
        std::memcpy(vendor, c.vendor, std::strlen(c.vendor));
        CHECK_EQ(morvik::HaiTaiSerial(ck, vendor), c.expected) << c.ck << " / " << c.vendor;
    }
}

TEST(GetNum_FromScripts)
{
    struct Case {
        const char* what;
        void (*setup)(sim::Scenario&);
        const char* module;
        std::string expected;
    } cases[] = {
        {"HaiTai", nullptr, kHaiTai, "2048500000000001"},
        {"HaiTai without its attribute", [](sim::Scenario& s) { s.Find("ht1")->htSerial.clear(); },
         kHaiTai, "HT0000000001"},
        {"HaiTai with neither", [](sim::Scenario& s) { s.Find("ht1")->htSerial.clear(); s.Find("ht1")->ckSerial.clear(); },
         kHaiTai, ""},
        {"Huahong 01025", nullptr, kHuahong, "102500000000042"},
        {"Huahong 01024", [](sim::Scenario& s) { s.Find("hh1")->serial = "0102400000000042"; },
         kHuahong, "0102400000000042"},
        {"blank padded", nullptr, kThird, "TY12            "},
        {"fourth vendor", nullptr, kFourth, "MW00000000000004"},
        {"no token", [](sim::Scenario& s) { s.Find("ty1")->plugged = false; }, kThird, "104"},
        {"no slot", [](sim::Scenario& s) { s.slots[static_cast<int>(Vendor::Fourth)] = 0; }, kFourth, "104"},
        {"two tokens", [](sim::Scenario& s) { s.tokens.push_back(Token("hh2", Vendor::Huahong, 2, "HH2")); },
         kHuahong, "105"},
        {"unsupported name", nullptr, "pkcs11.dll", "103"},
    };
    for (const char* script : {"GetNum.vbs", "GetNum.js"}) {
        for (const Case& c : cases) {
            sim::Scenario s = FourTokens();
            if (c.setup) c.setup(s);
            simtest::Reset(s);
            CHECK_EQ(RunScript(script, c.module), "[" + c.expected + "]") << script << ": " << c.what;
            std::string calls = CallsOf(c.module);
            const std::string end = "C_Finalize unload";
            if (c.expected != "103")
                CHECK(calls.size() >= end.size() && calls.compare(calls.size() - end.size(), end.size(), end) == 0)
                    << script << ": " << c.what << ": " << calls;
        }
    }
}

TEST(GetNum_ModuleNotInstalled)
{
    struct Case {
        const char* module;
        const char* code;
    } cases[] = {{kHaiTai, "100"}, {kHuahong, "101"}, {kThird, "102"}, {kFourth, "106"}};
    simtest::Reset(FourTokens());
    for (const Case& c : cases) {
        FileAside aside(SystemFolder() + "\\" + c.module);
        CHECK(aside.Moved()) << c.module;
        CHECK_EQ(RunScript("GetNum.vbs", c.module), std::string("[") + c.code + "]") << c.module;
        CHECK_EQ(RunScript("GetNum.js", c.module), std::string("[") + c.code + "]") << c.module;
        CHECK_EQ(GetNum(c.module), c.code) << c.module;
    }
}

TEST(GetNum_NamesComparedExactly)
{
    simtest::Reset(FourTokens());
    const std::string names[] = {
        "TYPKCS11.DLL", "Typkcs11.dll", "typkcs11", "typkcs11.dll ", " typkcs11.dll",
        "C:\\windows\\system32\\typkcs11.dll", ".\\typkcs11.dll", "", "htpkcs1120485.dll",
        "mwpkcs11_v3.dll.dll", std::string("typkcs11.dll\0x", 14),
    };
    for (const std::string& name : names) CHECK_EQ(GetNum(name), "103") << "[" << name << "]";
    CHECK_EQ(simtest::Calls().size(), 0u) << "nothing was loaded";
    CHECK_EQ(GetNum(kThird), "TY12            ");
}

TEST(GetNum_CallOrderAndCleanUp)
{
    struct Case {
        const char* what;
        void (*setup)(sim::Scenario&);
        const char* module;
        const char* result;
        const char* calls;
    } cases[] = {
        {"HaiTai", nullptr, kHaiTai, "2048500000000001",
         "C_Initialize C_GetSlotList C_GetSlotList C_GetTokenInfo C_OpenSession C_GetAttributeValue "
         "C_CloseSession C_Finalize unload"},
        {"Huahong", nullptr, kHuahong, "102500000000042",
         "C_Initialize C_GetSlotList C_GetSlotList C_GetTokenInfo C_Finalize unload"},
        {"third", nullptr, kThird, "TY12            ",
         "C_Initialize C_GetSlotList C_GetSlotList C_GetTokenInfo C_Finalize unload"},
        {"fourth", nullptr, kFourth, "MW00000000000004",
         "C_Initialize C_GetSlotList C_GetSlotList C_GetTokenInfo C_Finalize unload"},
        {"no slot", [](sim::Scenario& s) { s.slots[static_cast<int>(Vendor::Third)] = 0; }, kThird, "104",
         "C_Initialize C_GetSlotList C_Finalize unload"},
        {"no token", [](sim::Scenario& s) { s.Find("ht1")->plugged = false; }, kHaiTai, "104",
         "C_Initialize C_GetSlotList C_GetSlotList C_Finalize unload"},
        {"two tokens", [](sim::Scenario& s) { s.tokens.push_back(Token("ht2", Vendor::HaiTai, 2, "X")); },
         kHaiTai, "105", "C_Initialize C_GetSlotList C_GetSlotList C_Finalize unload"},
    };
    for (const Case& c : cases) {
        sim::Scenario s = FourTokens();
        if (c.setup) c.setup(s);
        simtest::Reset(s);
        CHECK_EQ(GetNum(c.module), c.result) << c.what;
        CHECK_EQ(CallsOf(c.module), c.calls) << c.what;
        CHECK(::GetModuleHandleA(c.module) == nullptr) << c.what << ": the module was unloaded";
    }

    // What the HaiTai module is given.
    simtest::Reset(FourTokens());
    GetNum(kHaiTai);
    for (const sim::CallRecord& c : simtest::Calls()) {
        if (c.function == "C_Initialize" || c.function == "C_Finalize") {
            CHECK_EQ(c.args, "NULL");
        } else if (c.function == "C_OpenSession") {
            CHECK_EQ(c.args, "slot=1 flags=0x6");
        } else if (c.function == "C_GetAttributeValue") {
            CHECK_EQ(c.args, "session=0x1001 object=0x1001 types=0x82,0x5D6C0005")
                << "the session handle in both places";
        }
    }
}

TEST(GetNum_ModuleAlreadyInitialised)
{
    // Another component of the process holds the module initialised: the
    // call goes on, and (as documented) finalises it.
    simtest::Reset(FourTokens());
    HMODULE held = ::LoadLibraryA(kFourth);
    CHECK(held);
    if (!held) return;
    using InitializeFn = unsigned long(__cdecl*)(void*);
    auto initialize = reinterpret_cast<InitializeFn>(::GetProcAddress(held, "C_Initialize"));
    CHECK(initialize && initialize(nullptr) == 0);
    CHECK_EQ(GetNum(kFourth), "MW00000000000004");
    std::vector<sim::CallRecord> inits = simtest::Calls("C_Initialize");
    CHECK(inits.size() == 2 && inits[1].result == "0x191") << "the second initialisation was refused";
    CHECK_EQ(CallsOf(kFourth), "C_Initialize C_Initialize C_GetSlotList C_GetSlotList C_GetTokenInfo C_Finalize");
    ::FreeLibrary(held);
}

TEST(GetNum_FailingModuleCalls)
{
    // No code is defined for these: the serial number is empty, never
    // whatever the record held, and the module is still finalised.
    struct Case {
        const char* module;
        const char* function;
    } cases[] = {
        {kThird, "C_GetTokenInfo"}, {kHuahong, "C_GetTokenInfo"}, {kFourth, "C_GetTokenInfo"},
        {kHaiTai, "C_OpenSession"}, {kHaiTai, "C_GetAttributeValue"},
    };
    for (const Case& c : cases) {
        sim::Scenario s = FourTokens();
        s.failures.push_back({c.module, c.function, 0x30 /* CKR_DEVICE_ERROR */, -1});
        simtest::Reset(s);
        CHECK_EQ(GetNum(c.module), "") << c.module << " " << c.function;
        std::string calls = CallsOf(c.module);
        const std::string end = "C_Finalize unload";
        CHECK(calls.size() >= end.size() && calls.compare(calls.size() - end.size(), end.size(), end) == 0)
            << c.module << " " << c.function << ": " << calls;
        CHECK(std::string(c.function) != "C_OpenSession" || calls.find("C_CloseSession") == std::string::npos)
            << "no session to close: " << calls;
    }
}

TEST(GetNum_PlantedModuleNotLoaded)
{
    // A web page's host with its current directory in the downloads
    // folder, where someone planted a module under a supported name.
    const std::string downloads = TempFolder("morvik-downloads");
    const std::string planted = downloads + "\\" + kThird;
    const std::string log = downloads + "\\partial.log";
    CHECK(::CopyFileA((FilesFolder() + "\\partial_p11.dll").c_str(), planted.c_str(), FALSE));
    ::DeleteFileA(log.c_str());
    simtest::Reset(FourTokens());

    char previous[MAX_PATH];
    ::GetCurrentDirectoryA(MAX_PATH, previous);
    ::SetCurrentDirectoryA(downloads.c_str());
    {
        FileAside aside(SystemFolder() + "\\" + kThird);
        // The plain search order would find it here.
        HMODULE plain = ::LoadLibraryA(kThird);
        CHECK(plain) << "the plant is reachable by the ordinary search";
        if (plain) ::FreeLibrary(plain);
        ::DeleteFileA(log.c_str());

        CHECK_EQ(GetNum(kThird), "102");
        CHECK_EQ(ReadFile(log), "") << "the planted module was not loaded";
        CHECK_EQ(RunScript("GetNum.vbs", kThird), "[102]");
        CHECK_EQ(ReadFile(log), "") << "nor by the script host";
    }
    CHECK_EQ(GetNum(kThird), "TY12            ") << "the installed module is used";
    CHECK_EQ(ReadFile(log), "");
    ::SetCurrentDirectoryA(previous);
    ::DeleteFileA(planted.c_str());
    ::DeleteFileA(log.c_str());
}

TEST(GetNum_ProgramFolderAndMissingEntryPoints)
{
    // A client program with vendor modules in its own folder: they are used,
    // ahead of the system folder's.
    const std::string program = TempFolder("morvik-client");
    const std::string host = program + "\\morvik_host.exe";
    CHECK(::CopyFileA((FilesFolder() + "\\morvik_host.exe").c_str(), host.c_str(), FALSE));
    const std::string log = program + "\\partial.log";
    CHECK(::CopyFileA((FilesFolder() + "\\partial_p11.dll").c_str(), (program + "\\" + kFourth).c_str(), FALSE));
    CHECK(::CopyFileA((SystemFolder() + "\\" + kThird).c_str(), (program + "\\" + kThird).c_str(), FALSE));
    ::DeleteFileA(log.c_str());
    simtest::Reset(FourTokens());
    const std::string elsewhere = TempFolder("morvik-elsewhere");

    {
        FileAside aside(SystemFolder() + "\\" + kThird);
        RunResult r = Run("\"" + host + "\" " + kThird, elsewhere);
        CHECK_EQ(r.output, "[TY12            ]\r\n") << "from the program's folder";
    }

    // A module without C_GetTokenInfo is loaded but never called.
    RunResult r = Run("\"" + host + "\" " + kFourth, elsewhere);
    CHECK_EQ(r.output, "[106]\r\n");
    CHECK_EQ(ReadFile(log), "attach\n") << "loaded, nothing called";

    for (const char* f : {"morvik_host.exe", kFourth, kThird, "partial.log"})
        ::DeleteFileA((program + "\\" + f).c_str());
}
