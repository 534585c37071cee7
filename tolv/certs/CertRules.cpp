#include "certs/CertRules.h"

#include <cstdio>
#include <unordered_map>

namespace certs {

namespace {
const unsigned char kDigitalSignature = 0x80;
const unsigned char kDataEncipherment = 0x10;
}

CertKind ClassifyKeyUsage(bool hasKeyUsage, unsigned char firstByte)
{
    if (!hasKeyUsage) return kKindNoKeyUsage;
    if (firstByte & kDigitalSignature) return kKindSigning;
    if (firstByte & kDataEncipherment) return kKindEncryption;
    return kKindOther;
}

const char* TypeText(CertKind kind)
{
    switch (kind) {
    case kKindSigning: return "签名证书";
    case kKindEncryption: return "加密证书";
    default: return "单证书";
    }
}

std::string FormatListDate(int year, int month, int day)
{
    char text[128] = {};
    std::snprintf(text, sizeof(text), "%d年%d月%d日", year, month, day);
    return text;
}

std::string ExtensionValueText(const unsigned char* value, std::size_t size)
{
    std::string text;
    for (std::size_t i = 2; value && i < size; ++i)
        if (value[i] != 0) text += static_cast<char>(value[i]);
    return text;
}

std::string DetailsText(const std::string& holder, const std::string& taxpayer,
                        const std::string& subAccount, const std::string& taxRegistration)
{
    return "单位名称：" + holder + "\r\n" + "纳税人编码:" + taxpayer + "\r\n" + "分户号:" + subAccount +
           "\r\n" + "税务登记证号:" + taxRegistration;
}

std::vector<const CertRow*> DisplayOrder(const std::vector<CertRow>& signing,
                                         const std::vector<CertRow>& encryption,
                                         const std::vector<CertRow>& single)
{
    // The first encryption row of each holder.
    std::unordered_map<std::string, const CertRow*> firstEncryption;
    firstEncryption.reserve(encryption.size());
    for (const CertRow& row : encryption) firstEncryption.emplace(row.holder, &row);

    std::vector<const CertRow*> order;
    order.reserve(signing.size() * 2 + single.size());
    for (const CertRow& row : signing) {
        order.push_back(&row);
        auto match = firstEncryption.find(row.holder);
        if (match != firstEncryption.end()) order.push_back(match->second);
    }
    for (const CertRow& row : single) order.push_back(&row);
    return order;
}

}  // namespace certs
