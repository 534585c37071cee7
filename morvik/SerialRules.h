// What GetNum accepts and returns, apart from any module or COM call: the
// supported module names with their load-failure codes, the result codes,
// and how a serial number is cut from what a module wrote.
#pragma once

#include <string>

namespace morvik {

enum class ModuleKind { HaiTai, Huahong, Third, Fourth };

struct SupportedModule {
    const char* fileName;         // compared byte for byte, in this order
    const char* loadFailureCode;  // returned when the module does not load
    ModuleKind kind;
};

// The supported module with exactly this name, or null.
const SupportedModule* FindSupportedModule(const std::string& name);

extern const char kCodeUnsupportedName[];  // "103"
extern const char kCodeNoToken[];          // "104"
extern const char kCodeManyTokens[];       // "105"

// The serial number from CK_TOKEN_INFO.serialNumber: its first 16 bytes up
// to a zero byte, blanks kept; for the Huahong module a leading "01025"
// loses its first character.
std::string TokenInfoSerial(ModuleKind kind, const unsigned char (&serialNumber)[16]);

// The HaiTai serial number from the two attribute buffers: the vendor
// attribute when its first byte is not zero, else CKA_SERIAL_NUMBER; text
// up to the first zero byte, at most 18 bytes.
std::string HaiTaiSerial(const unsigned char (&ckSerial)[18], const unsigned char (&vendorSerial)[18]);

}  // namespace morvik
