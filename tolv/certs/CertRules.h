// The rules of the certificate list and details, apart from any store or
// window: classification by key usage, the texts shown, the display order
// and the decoding of the organisation extensions.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace certs {

// Only certificates whose issuer's simple name is exactly this are listed.
inline constexpr char kIssuerName[] = "QLMA";
// The organisation details are shown only under this marker text.
inline constexpr char kDetailsMarker[] = "*1B*";

inline constexpr char kOidMarker[] = "2.4.16.11.7.1";
inline constexpr char kOidTaxpayer[] = "2.4.16.11.7.2";
inline constexpr char kOidSubAccount[] = "2.4.16.11.7.4";
inline constexpr char kOidTaxRegistration[] = "1.2.86.11.7.5";

// One row of the list: type, holder, issuer, valid from, valid to.
struct CertRow {
    std::string type;
    std::string holder;
    std::string issuer;
    std::string validFrom;
    std::string validTo;
};

// Certificate kinds by key usage.
enum CertKind {
    kKindOther = 0,       // neither digital signature nor data encipherment
    kKindEncryption = 1,  // data encipherment
    kKindSigning = 2,     // digital signature (wins over data encipherment)
    kKindNoKeyUsage = 8,  // no key-usage extension at all
};

// hasKeyUsage: the certificate carries a key-usage extension; firstByte:
// its first byte of bits.
CertKind ClassifyKeyUsage(bool hasKeyUsage, unsigned char firstByte);
// "签名证书", "加密证书" or "单证书".
const char* TypeText(CertKind kind);

// "%d年%d月%d日" without leading zeros.
std::string FormatListDate(int year, int month, int day);

// The text of a private extension's encoded value: every byte after the
// value's tag and one-byte length, taken as one character; zero bytes add
// nothing.
std::string ExtensionValueText(const unsigned char* value, std::size_t size);
// The text for an extension the certificate does not carry.
inline constexpr char kMissingExtensionText[] = "1";

// The four lines of the details box.
std::string DetailsText(const std::string& holder, const std::string& taxpayer,
                        const std::string& subAccount, const std::string& taxRegistration);

// The order of the list: each signing row followed by the first encryption
// row of the same holder, if any; then the single rows.  An encryption row
// whose holder has no signing row is left out; one that matches several
// signing rows appears under each.  Linear in the number of rows.
std::vector<const CertRow*> DisplayOrder(const std::vector<CertRow>& signing,
                                         const std::vector<CertRow>& encryption,
                                         const std::vector<CertRow>& single);

}  // namespace certs
