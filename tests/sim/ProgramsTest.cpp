// The authority's certificate library, the utility programs, the updater
// and the control program.
#include "harness/Check.h"
#include "sim/SimWorkstation.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <functional>

namespace {

using GetCertSubFn = int(__stdcall*)(const char*, char*);
using GetEndDateFn = int(__stdcall*)(const char*, char*);

}  // namespace

TEST(TolvApi_SubjectAndEndDate)
{
    sim::Scenario s;
    s.tokens.push_back(simtest::MakeToken("ht1", sim::Vendor::HaiTai, 1, true));
    simtest::Reset(s);
    HMODULE lib = ::LoadLibraryA("TOLVApi.dll");
    CHECK(lib);
    if (!lib) return;
    auto getCertSub = reinterpret_cast<GetCertSubFn>(::GetProcAddress(lib, "GetCertSub"));
    auto getEndDate = reinterpret_cast<GetEndDateFn>(::GetProcAddress(lib, "GetEndDate"));
    CHECK(getCertSub && getEndDate);
    if (!getCertSub || !getEndDate) return;

    char subject[260] = "", date[260] = "";
    CHECK_EQ(getCertSub("HtPkcs1120485.dll", subject), 0);
    // The installed HaiTai certificate is for 张三 (GBK in the ANSI code page).
    const char* comma = std::strchr(subject, ',');
    CHECK(std::strncmp(subject, "CN=", 3) == 0 && comma) << subject;
    std::string holder = comma ? std::string(static_cast<const char*>(subject) + 3, comma) : "";
    CHECK_EQ(holder, "张三") << subject;
    CHECK_EQ(getEndDate(holder.c_str(), date), 0);
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, sec = 0;
    CHECK_EQ(std::sscanf(date, "%d-%d-%d %d:%d:%d", &y, &mo, &d, &h, &mi, &sec), 6) << date;
    CHECK_EQ(getEndDate("nobody", date), 116);
    CHECK_EQ(std::string(date), "");

    struct Case { const char* what; std::function<void(sim::Scenario&)> edit; int code; };
    const Case cases[] = {
        {"no certificate", [](sim::Scenario& sc) { sc.Find("ht1")->certs.clear(); }, 107},
        {"token pulled", [](sim::Scenario& sc) { sc.Find("ht1")->plugged = false; }, 99},
        {"module fails", [](sim::Scenario& sc) { sc.failures.push_back({"", "C_Initialize", 6, -1}); }, 98},
    };
    for (const auto& c : cases) {
        simtest::Reset(s);
        simtest::Edit(c.edit);
        CHECK_EQ(getCertSub("HtPkcs1120485.dll", subject), c.code) << c.what;
    }
    CHECK_EQ(getCertSub("nosuchmodule.dll", subject), 97);
    ::FreeLibrary(lib);
}

TEST(Programs_UtilityRunsUntilEndedUpdaterRecordsItsStart)
{
    simtest::Reset(sim::Scenario());
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    char cmd[] = "hhukcert14.exe";
    CHECK(::CreateProcessA(nullptr, cmd, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    CHECK_EQ(::WaitForSingleObject(pi.hProcess, 1500), static_cast<DWORD>(WAIT_TIMEOUT)) << "stays running";
    ::TerminateProcess(pi.hProcess, 0);
    ::WaitForSingleObject(pi.hProcess, 5000);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    auto starts = simtest::Calls("start");
    CHECK(starts.size() == 1 && starts[0].module == "hhukcert14.exe");

    std::string updater = "C:\\Program Files\\VeltraCA\\TOLV\\Update.exe";
    int exit = simtest::Run("\"" + updater + "\" --from-test");
    CHECK_EQ(exit, 0);
    starts = simtest::Calls("start");
    CHECK(starts.size() == 2 && starts[1].module == "Update.exe" &&
          starts[1].args.find("--from-test") != std::string::npos);
}

TEST(Simctl_EditsTheScenario)
{
    simtest::Reset(sim::Scenario());
    struct Case { const char* args; int exit; };
    const Case cases[] = {
        {"token hh1 huahong 1 serial=HH01", 0}, {"plug hh1", 0},     {"set-pin hh1 abcdef 5", 0},
        {"fail hhpkcs1114.dll!C_Finalize 0x5 2", 0},                 {"key-event 2 1", 0},
        {"plug nosuch", 1},                     {"set hh1 colour=red", 1}, {"bogus", 1},
    };
    for (const auto& c : cases) {
        int exit = simtest::Run(std::string("simctl.exe ") + c.args);
        CHECK_EQ(exit, c.exit) << c.args;
    }
    sim::Scenario s = simtest::Current();
    const sim::Token* t = s.Find("hh1");
    CHECK(t && t->plugged && t->serial == "HH01" && t->pin == "abcdef" && t->attemptsLeft == 5);
    CHECK(s.failures.size() == 1 && s.failures[0].module == "hhpkcs1114.dll" &&
          s.failures[0].code == 5 && s.failures[0].times == 2);
    CHECK_EQ(s.keyEvents.size(), 2u);
}
