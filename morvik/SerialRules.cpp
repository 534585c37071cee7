#include "SerialRules.h"

#include <cstring>

namespace morvik {
namespace {

const SupportedModule kModules[] = {
    {"HtPkcs1120485.dll", "100", ModuleKind::HaiTai},
    {"hhpkcs1114.dll", "101", ModuleKind::Huahong},
    {"typkcs11.dll", "102", ModuleKind::Third},
    {"mwpkcs11_v3.dll", "106", ModuleKind::Fourth},
};

std::string TextUpToZero(const unsigned char* p, size_t max)
{
    const void* zero = std::memchr(p, 0, max);
    size_t n = zero ? static_cast<const unsigned char*>(zero) - p : max;
    return std::string(reinterpret_cast<const char*>(p), n);
}

}  // namespace

const char kCodeUnsupportedName[] = "103";
const char kCodeNoToken[] = "104";
const char kCodeManyTokens[] = "105";

const SupportedModule* FindSupportedModule(const std::string& name)
{
    for (const SupportedModule& m : kModules)
        if (name == m.fileName) return &m;
    return nullptr;
}

std::string TokenInfoSerial(ModuleKind kind, const unsigned char (&serialNumber)[16])
{
    std::string text = TextUpToZero(serialNumber, sizeof serialNumber);
    // Huahong tokens of this series carry one zero too many in front.
    if (kind == ModuleKind::Huahong && text.compare(0, 5, "01025") == 0) text.erase(0, 1);
    return text;
}

std::string HaiTaiSerial(const unsigned char (&ckSerial)[18], const unsigned char (&vendorSerial)[18])
{
    return vendorSerial[0] != 0 ? TextUpToZero(vendorSerial, sizeof vendorSerial)
                                : TextUpToZero(ckSerial, sizeof ckSerial);
}

}  // namespace morvik
