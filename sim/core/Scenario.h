// The workstation the simulator stands in for: the vendors' tokens, the
// readers they sit in, their PINs and certificates, pending key events of
// the Huahong component and the calls made to fail on purpose.
// Plain data and text, no Windows calls: the text format is in README.md.
#pragma once

#include <string>
#include <vector>

namespace sim {

enum class Vendor { HaiTai, Huahong, Third, Fourth, Count };

struct VendorInfo {
    const char* key;         // name in the scenario file
    const char* module;      // file name of the vendor's PKCS#11 module
    const char* readerName;  // reader names are this text and the slot number
    const char* manufacturer;
};
const VendorInfo& Info(Vendor v);
bool ParseVendor(const std::string& key, Vendor* v);
std::string ReaderName(Vendor v, int slot);
// The slot a HaiTai reader name stands for; 0 when it names none.
int SlotOfReader(Vendor v, const std::string& readerName);

struct Token {
    std::string name;  // the scenario's own name for it, e.g. "ht1"
    Vendor vendor = Vendor::HaiTai;
    int slot = 1;      // slot number (1-based), also the PKCS#11 slot id
    bool plugged = false;
    std::string label;
    std::string serial;        // token information's serialNumber (blank padded to 16)
    std::string htSerial;      // HaiTai attribute 0x5D6C0005
    std::string ckSerial;      // HaiTai CKA_SERIAL_NUMBER
    std::vector<std::string> certs;  // paths of DER files, in object order
    std::string pin = "123456";
    int attemptsLeft = 6;
    int maxAttempts = 6;
    bool locked = false;
    unsigned long wrongPinRv = 0xA0;  // C_Login's answer to a wrong PIN
    int minPin = 6;
    int maxPin = 16;
};

// One injected failure: the named function answers `code` without doing
// anything, `times` more times (forever when negative).
struct Failure {
    std::string module;    // empty: every simulated module
    std::string function;
    unsigned long code = 0;
    int times = -1;
};

struct Scenario {
    int slots[static_cast<int>(Vendor::Count)] = {2, 2, 1, 1};
    std::vector<Token> tokens;
    std::vector<std::string> keyEvents;  // answers queued for the component's event query
    std::vector<Failure> failures;

    int SlotCount(Vendor v) const { return slots[static_cast<int>(v)]; }
    Token* Find(const std::string& name);
    // The token plugged into a slot: the first one the scenario lists there.
    Token* PluggedAt(Vendor v, int slot);
    // Consumes one use of a failure injected for module!function.
    bool TakeFailure(const std::string& module, const std::string& function,
                     unsigned long* code);
};

// Sets one field of a token from its file text; false for an unknown key
// or a value that does not fit it.  "cert" adds a certificate.
bool SetTokenField(Token& t, const std::string& key, const std::string& value);

Scenario ParseScenario(const std::string& text);
std::string FormatScenario(const Scenario& s);

// Numbers as the file writes them: decimal, or hexadecimal with 0x.
bool ParseNumber(const std::string& text, unsigned long* value);
// `text` cut or padded with blanks to `width` bytes, as Cryptoki's fixed
// text fields are.
std::string BlankPadded(const std::string& text, size_t width);

}  // namespace sim
