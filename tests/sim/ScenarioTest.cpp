// The scenario's text form and the rules every simulated token follows.
#include "harness/Check.h"

#include "core/PinRules.h"
#include "core/Scenario.h"

using namespace sim;

TEST(Scenario_TextRoundTrip)
{
    Scenario s;
    s.slots[static_cast<int>(Vendor::Huahong)] = 3;
    Token t;
    t.name = "ht1";
    t.plugged = true;
    t.serial = " padded ";
    t.certs = {"C:\\a.der", "C:\\b.der"};
    t.wrongPinRv = 0xA1;
    s.tokens.push_back(t);
    s.keyEvents = {"2", "1"};
    s.failures.push_back({"hhpkcs1114.dll", "C_Login", 0xA4, 2});
    s.failures.push_back({"", "C_Finalize", 5, -1});

    Scenario r = ParseScenario(FormatScenario(s));
    CHECK_EQ(FormatScenario(r), FormatScenario(s));
    CHECK_EQ(r.SlotCount(Vendor::Huahong), 3);
    CHECK(r.tokens.size() == 1 && r.tokens[0].serial == " padded " && r.tokens[0].certs.size() == 2);
    CHECK(r.failures.size() == 2 && r.failures[0].times == 2 && r.failures[1].times == -1);
}

TEST(Scenario_FailuresAreConsumedPerModule)
{
    Scenario s = ParseScenario("[fail]\nhhpkcs1114.dll!C_Login = 0xA4 x1\nC_Finalize = 5\n");
    unsigned long code = 0;
    CHECK(!s.TakeFailure("HtPkcs1120485.dll", "C_Login", &code)) << "scoped to its module";
    CHECK(s.TakeFailure("hhpkcs1114.dll", "C_Login", &code) && code == 0xA4);
    CHECK(!s.TakeFailure("hhpkcs1114.dll", "C_Login", &code)) << "used up";
    for (int i = 0; i < 3; ++i) CHECK(s.TakeFailure("typkcs11.dll", "C_Finalize", &code) && code == 5);
}

TEST(Scenario_BlankPaddingAndReaders)
{
    CHECK_EQ(BlankPadded("ABC", 6), "ABC   ");
    CHECK_EQ(BlankPadded("0123456789ABCDEFGH", 16), "0123456789ABCDEF");
    CHECK_EQ(SlotOfReader(Vendor::HaiTai, ReaderName(Vendor::HaiTai, 2)), 2);
    CHECK_EQ(SlotOfReader(Vendor::HaiTai, "Some Other Reader 2"), 0);
}
