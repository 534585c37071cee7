// Deployment data of the certification authority: the addresses the
// program opens, the news server it is installed with, and the contacts it
// shows.  An installer or the authority changes them here and nowhere else
// (the customer service dialog's template repeats the first city's row as
// its initial texts).
#pragma once

namespace deployment {

// Home page behind the banner's logo: a bare host name, opened by the shell.
inline constexpr char kHomeHost[] = "www.veltraca.cn";
// The authority's self-service server: feedback page and renewal site.
inline constexpr char kFeedbackUrl[] = "https://css.veltraca.cn:8443/css/self/opinion.jsp?id=tolv";
inline constexpr char kRenewalUrl[] = "https://css.veltraca.cn:8443/css/";
// Where the installer's news file points for the first download of the
// published copy ("下载" / "DownLoadINI").
inline constexpr char kNewsUrl[] = "https://update.veltraca.cn/tolv/news.txt";

// Chat service and the three customer-service accounts.
inline constexpr char kChatHost[] = "wpa.qq.com";
inline constexpr char kChatAccounts[3][16] = {"800060601", "800060602", "800060603"};

// Province-wide contacts.
inline constexpr char kHotline[] = "400-860-6600";
inline constexpr char kComplaintLine[] = "0596-2861200";
inline constexpr char kFax[] = "0596-2861201";
inline constexpr char kEmail[] = "service@veltraca.cn";

// One city of the service-outlet list.  Layout A shows fax, e-mail and the
// outlet's address; layout B the service centre and two acceptance points.
struct CityContacts {
    const char* name;
    char layout;  // 'A' or 'B'
    const char* phone;
    const char* value1;
    const char* value2;
    const char* value3;
};

inline constexpr CityContacts kCities[8] = {
    {"澜州市", 'A', kHotline, kFax, kEmail, "澜州市滨江路88号VeltraCA服务大厅"},
    {"青岑市", 'B', "0597-3312018", "青岑市人民路12号政务服务中心三楼", "青岑市建设银行营业部", "青岑市东城区税务服务厅"},
    {"白沙市", 'B', "0598-5526601", "白沙市中山北路6号市民服务中心", "白沙市工商银行营业部", "白沙市经济开发区服务站"},
    {"汀洲市", 'A', kHotline, kFax, kEmail, "汀洲市府前路21号VeltraCA服务点"},
    {"云浦市", 'A', "0599-8801234", kFax, kEmail, "云浦市解放路158号政务中心二楼"},
    {"溪口市", 'A', "13905960123", kFax, kEmail, "溪口市新华街7号VeltraCA受理点"},
    {"桐城市", 'A', kHotline, kFax, kEmail, "桐城市环城西路45号政务服务中心"},
    {"海宁市", 'A', kHotline, kFax, kEmail, "海宁市海滨大道99号VeltraCA服务点"},
};

}  // namespace deployment
