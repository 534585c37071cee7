// Deployment data of the certification authority: the addresses the
// program opens or downloads from and the contacts it shows.  An installer
// or the authority changes them here and nowhere else.
#pragma once

namespace deployment {

// Home page behind the banner's logo: a bare host name, opened by the shell.
inline constexpr char kHomeHost[] = "www.veltraca.cn";
// The authority's self-service server (feedback page, renewal site).
inline constexpr char kServiceServer[] = "https://css.veltraca.cn:8443";
inline constexpr char kFeedbackUrl[] = "https://css.veltraca.cn:8443/css/self/opinion.jsp?id=tolv";
inline constexpr char kRenewalUrl[] = "https://css.veltraca.cn:8443/css/";

}  // namespace deployment
