// The rules behind the certificate list and details.
#include "harness/Check.h"
#include "certs/CertRules.h"

using namespace certs;

TEST(KeyUsageDecidesTheKind)
{
    const struct {
        bool has;
        unsigned char bits;
        CertKind kind;
        const char* text;
    } cases[] = {
        {false, 0x00, kKindNoKeyUsage, "单证书"}, {false, 0x80, kKindNoKeyUsage, "单证书"},
        {true, 0x80, kKindSigning, "签名证书"},   {true, 0xC0, kKindSigning, "签名证书"},
        {true, 0x90, kKindSigning, "签名证书"},   {true, 0x10, kKindEncryption, "加密证书"},
        {true, 0x30, kKindEncryption, "加密证书"}, {true, 0x20, kKindOther, "单证书"},
        {true, 0x00, kKindOther, "单证书"},
    };
    int i = 0;
    for (const auto& c : cases) {
        CHECK_EQ(ClassifyKeyUsage(c.has, c.bits), c.kind) << "case " << i;
        CHECK_EQ(std::string(TypeText(ClassifyKeyUsage(c.has, c.bits))), std::string(c.text)) << "case " << i;
        ++i;
    }
}

TEST(ListDatesHaveNoLeadingZeros)
{
    CHECK_EQ(FormatListDate(2015, 2, 28), std::string("2015年2月28日"));
    CHECK_EQ(FormatListDate(2024, 10, 1), std::string("2024年10月1日"));
}

TEST(ExtensionTextSkipsTagAndLengthAndZeros)
{
    const unsigned char marker[] = {0x0C, 0x04, '*', '1', 'B', '*'};
    CHECK_EQ(ExtensionValueText(marker, sizeof(marker)), std::string("*1B*"));
    const unsigned char withZero[] = {0x1E, 0x04, 0x00, 'A', 0x00, 'B'};
    CHECK_EQ(ExtensionValueText(withZero, sizeof(withZero)), std::string("AB"));
    const unsigned char shortValue[] = {0x0C};
    CHECK_EQ(ExtensionValueText(shortValue, sizeof(shortValue)), std::string());
    CHECK_EQ(ExtensionValueText(nullptr, 0), std::string());
}

TEST(DetailsTextHasFourLabelledLines)
{
    CHECK_EQ(DetailsText("甲公司", "T1", "1", "R9"),
             std::string("单位名称：甲公司\r\n纳税人编码:T1\r\n分户号:1\r\n税务登记证号:R9"));
}

TEST(DisplayOrderPairsByHolderThenSingles)
{
    auto row = [](const char* type, const char* holder) { return CertRow{type, holder, "QLMA", "", ""}; };
    std::vector<CertRow> signing = {row("S", "a"), row("S", "b"), row("S", "a")};
    std::vector<CertRow> encryption = {row("E1", "a"), row("E", "c"), row("E2", "a")};
    std::vector<CertRow> single = {row("X", "x"), row("Y", "y")};
    std::vector<std::string> got;
    for (const CertRow* r : DisplayOrder(signing, encryption, single)) got.push_back(r->type + r->holder);
    // "a" twice with its first encryption row each time; "c" has no signing row.
    std::vector<std::string> want = {"Sa", "E1a", "Sb", "Sa", "E1a", "Xx", "Yy"};
    CHECK(got == want);
    CHECK(DisplayOrder({}, encryption, {}).empty());
}
