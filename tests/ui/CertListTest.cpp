// The certificate list and details of page 0, built from the current
// user's personal store of the test prefix.
#include "harness/CertFixture.h"
#include "harness/Check.h"
#include "ui/TolvUi.h"

#include <algorithm>
#include <sstream>

using namespace tolvui;

namespace {

using Rows = std::vector<std::vector<std::string>>;

const char kSign[] = "签名证书";
const char kEnc[] = "加密证书";
const char kSingle[] = "单证书";
const char kZhang[] = "张三科技有限公司";
const char kLi[] = "李四贸易";

std::string Describe(const Rows& rows)
{
    std::ostringstream out;
    for (const auto& r : rows) {
        out << "[";
        for (const auto& c : r) out << c << "|";
        out << "] ";
    }
    return out.str();
}

// Type and holder of every row.
std::vector<std::string> Kinds(const Rows& rows)
{
    std::vector<std::string> kinds;
    for (const auto& r : rows) kinds.push_back(r[0] + " " + r[1]);
    return kinds;
}

struct Page {
    TolvProcess tolv;
    HWND main = nullptr;
    Page() {
        if (tolv.Start()) main = tolv.WaitMainWindow();
    }
    Rows Refresh() {
        probe::Click(tolv.Item(kRefresh));
        return probe::ListViewRows(tolv.Item(kCertList), 5);
    }
    std::string Details() { return probe::WindowText(tolv.Item(kCertDetails)); }
};

std::string ZhangDetails()
{
    return std::string("单位名称：") + kZhang + "\r\n纳税人编码:91350100MA2Y0001X\r\n分户号:02\r\n"
           "税务登记证号:350100123456789";
}

}  // namespace

TEST(CertListShowsTheAuthoritysCertificatesInPairs)
{
    certfix::ClearUserStore();
    Page page;
    CHECK(page.main != nullptr);
    if (!page.main) return;
    CHECK_EQ(probe::ListViewRows(page.tolv.Item(kCertList), 5).size(), size_t(0));

    struct Case {
        const char* name;
        std::vector<std::string> certs;
        std::vector<std::string> rows;  // "type holder"; rows after `ordered` compared as a set
        size_t ordered;
    };
    const Case cases[] = {
        {"empty store", {}, {}, 0},
        {"other issuers only", {"other-sign"}, {}, 0},
        {"a signing and encryption pair", {"zhang-enc", "zhang-sign"},
         {std::string(kSign) + " " + kZhang, std::string(kEnc) + " " + kZhang}, 2},
        {"encryption alone", {"wang-enc"}, {}, 0},
        {"key usages 0xC0 0x30 0x20 none", {"zhao-ke", "qian-noku", "li-enc-ke", "li-sign-nr"},
         {std::string(kSign) + " " + kLi, std::string(kEnc) + " " + kLi, std::string(kSingle) + " 赵六工作室",
          std::string(kSingle) + " 钱七个人"},
         2},
        {"two signing certificates of one holder", {"zhang-sign", "zhang-enc", "zhang-sign2"},
         {std::string(kSign) + " " + kZhang, std::string(kEnc) + " " + kZhang, std::string(kSign) + " " + kZhang,
          std::string(kEnc) + " " + kZhang},
         4},
        {"singles after all pairs", {"qian-noku", "zhang-sign", "zhang-enc"},
         {std::string(kSign) + " " + kZhang, std::string(kEnc) + " " + kZhang, std::string(kSingle) + " 钱七个人"},
         3},
    };
    for (const Case& c : cases) {
        CHECK(certfix::SetUserStore(c.certs)) << c.name;
        Rows rows = page.Refresh();
        std::vector<std::string> got = Kinds(rows);
        CHECK_EQ(got.size(), c.rows.size()) << c.name << ": " << Describe(rows);
        if (got.size() != c.rows.size()) continue;
        for (size_t i = 0; i < c.ordered; ++i) CHECK_EQ(got[i], c.rows[i]) << c.name << " row " << i;
        std::vector<std::string> restGot(got.begin() + c.ordered, got.end());
        std::vector<std::string> restWant(c.rows.begin() + c.ordered, c.rows.end());
        std::sort(restGot.begin(), restGot.end());
        std::sort(restWant.begin(), restWant.end());
        CHECK(restGot == restWant) << c.name << ": " << Describe(rows);
        for (const auto& r : rows) CHECK_EQ(r[2], std::string("QLMA")) << c.name;

        // A second refresh gives the same list, without duplicates.
        CHECK(page.Refresh() == rows) << c.name;
    }
    certfix::ClearUserStore();
}

TEST(CertListDatesAreUtcCalendarDates)
{
    certfix::SetUserStore({"sun-utc"});
    Page page;
    if (!page.main) return;
    Rows rows = probe::ListViewRows(page.tolv.Item(kCertList), 5);
    CHECK_EQ(rows.size(), size_t(1));
    if (rows.size() != 1) return;
    // Ends at 00:30 on 1 March 2015 in UTC+8, i.e. 16:30 on 28 February UTC.
    CHECK_EQ(rows[0][3], std::string("2014年3月1日"));
    CHECK_EQ(rows[0][4], std::string("2015年2月28日"));
    certfix::ClearUserStore();
}

TEST(CertDetailsShowTheHoldersOrganisation)
{
    certfix::ClearUserStore();
    Page page;
    if (!page.main) return;
    struct Case {
        const char* name;
        std::vector<std::string> certs;
        std::string details;
    };
    const Case cases[] = {
        {"marker and all three fields", {"zhang-sign"}, ZhangDetails()},
        {"sub-account missing", {"li-sign-nr"},
         std::string("单位名称：") + kLi + "\r\n纳税人编码:91350200MA2Y0002Y\r\n分户号:1\r\n税务登记证号:350200987654321"},
        {"another marker", {"zhou-marker"}, ""},
        {"no marker", {"sun-utc"}, ""},
        {"no signing certificate", {"qian-noku"}, ""},
    };
    for (const Case& c : cases) {
        certfix::SetUserStore(c.certs);
        page.Refresh();
        CHECK_EQ(page.Details(), c.details) << c.name;
    }

    // Several certificates of one holder: the last one in store order decides.
    certfix::SetUserStore({"zhang-sign", "zhang-sign2", "zhang-enc"});
    std::vector<std::string> order = certfix::StoreOrder();
    page.Refresh();
    CHECK_EQ(page.Details(), order.back() == "zhang-sign" ? ZhangDetails() : std::string())
        << "store order ends with " << order.back();
    certfix::ClearUserStore();
}

TEST(ClickOnARowShowsThatHolder)
{
    certfix::SetUserStore({"zhang-sign", "li-sign-nr"});
    Page page;
    if (!page.main) return;
    HWND list = page.tolv.Item(kCertList);
    Rows rows = probe::ListViewRows(list, 5);
    CHECK_EQ(rows.size(), size_t(2));
    if (rows.size() != 2) return;
    auto click = [&](POINT pt) {
        probe::MouseClick(pt);
        probe::Settle(page.tolv.pi.hProcess, 300);
    };
    for (int row : {1, 0}) {
        RECT rc = probe::ListViewRowRect(list, row);
        click({rc.left + 100, (rc.top + rc.bottom) / 2});
        std::string details = page.Details();
        CHECK(details.find(rows[row][1]) != std::string::npos) << "row " << row << ": " << details;
    }
    // A click on empty space selects nothing and keeps the text.
    std::string before = page.Details();
    RECT last = probe::ListViewRowRect(list, 1);
    click({last.left + 100, last.bottom + 60});
    CHECK_EQ(page.Details(), before);
    ParkCursor();
    certfix::ClearUserStore();
}

TEST(TrayClickAndMenuRefreshRebuildTheList)
{
    certfix::ClearUserStore();
    Page page;
    if (!page.main) return;
    HWND list = page.tolv.Item(kCertList);
    CHECK_EQ(probe::ListViewRows(list, 5).size(), size_t(0));

    // A left click on the tray icon with the window hidden.
    SendCommand(page.main, kTrayHide);
    certfix::SetUserStore({"qian-noku"});
    PostMessageA(page.main, 1524, 128, WM_LBUTTONDOWN);
    CHECK(probe::WaitUntil([&] { return probe::ListViewRows(list, 5).size() == 1; }));
    CHECK(!IsWindowVisible(page.main));

    // The tray menu's refresh command.
    certfix::SetUserStore({"qian-noku", "zhao-ke"});
    SendCommand(page.main, 32776);
    CHECK_EQ(probe::ListViewRows(list, 5).size(), size_t(2));
    certfix::ClearUserStore();
}
