#include "core/Scenario.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace sim {
namespace {

const VendorInfo kVendors[] = {
    {"haitai", "HtPkcs1120485.dll", "HaiTai USB Key Reader ", "HaiTai"},
    {"huahong", "hhpkcs1114.dll", "Huahong USB Key ", "Huahong"},
    {"vendor3", "typkcs11.dll", "Vendor3 Token Slot ", "Vendor3"},
    {"vendor4", "mwpkcs11_v3.dll", "Vendor4 Token Slot ", "Vendor4"},
};

std::string Trim(const std::string& s)
{
    size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos) return "";
    size_t e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

// A value in double quotes keeps its leading and trailing blanks.
std::string Unquoted(const std::string& s)
{
    return s.size() >= 2 && s.front() == '"' && s.back() == '"' ? s.substr(1, s.size() - 2) : s;
}

std::string Quoted(const std::string& s)
{
    bool blanks = !s.empty() && (s.front() == ' ' || s.back() == ' ');
    return blanks ? '"' + s + '"' : s;
}

bool ParseBool(const std::string& s) { return s == "yes" || s == "1" || s == "true"; }

std::string Hex(unsigned long v)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%lX", v);
    return buf;
}

// "0xA0", "0xA0 x2"
void AddFailure(Scenario& s, const std::string& key, const std::string& value)
{
    Failure f;
    size_t bang = key.find('!');
    if (bang != std::string::npos) {
        f.module = key.substr(0, bang);
        f.function = key.substr(bang + 1);
    } else
        f.function = key;
    std::istringstream in(value);
    std::string code, times;
    in >> code >> times;
    if (!ParseNumber(code, &f.code)) return;
    unsigned long n = 0;
    if (times.size() > 1 && times[0] == 'x' && ParseNumber(times.substr(1), &n))
        f.times = static_cast<int>(n);
    s.failures.push_back(f);
}

}  // namespace

bool SetTokenField(Token& t, const std::string& key, const std::string& value)
{
    unsigned long n = 0;
    bool number = ParseNumber(value, &n);
    int i = static_cast<int>(n);
    if (key == "vendor") return ParseVendor(value, &t.vendor);
    if (key == "plugged") t.plugged = ParseBool(value);
    else if (key == "locked") t.locked = ParseBool(value);
    else if (key == "label") t.label = value;
    else if (key == "serial") t.serial = value;
    else if (key == "ht-serial") t.htSerial = value;
    else if (key == "ck-serial") t.ckSerial = value;
    else if (key == "cert") t.certs.push_back(value);
    else if (key == "pin") t.pin = value;
    else if (!number) return false;
    else if (key == "slot") t.slot = i;
    else if (key == "attempts") t.attemptsLeft = i;
    else if (key == "max-attempts") t.maxAttempts = i;
    else if (key == "wrong-pin-rv") t.wrongPinRv = n;
    else if (key == "min-pin") t.minPin = i;
    else if (key == "max-pin") t.maxPin = i;
    else return false;
    return true;
}

const VendorInfo& Info(Vendor v) { return kVendors[static_cast<int>(v)]; }

bool ParseVendor(const std::string& key, Vendor* v)
{
    for (int i = 0; i < static_cast<int>(Vendor::Count); ++i)
        if (key == kVendors[i].key) {
            *v = static_cast<Vendor>(i);
            return true;
        }
    return false;
}

std::string ReaderName(Vendor v, int slot) { return Info(v).readerName + std::to_string(slot); }

int SlotOfReader(Vendor v, const std::string& readerName)
{
    std::string prefix = Info(v).readerName;
    if (readerName.compare(0, prefix.size(), prefix) != 0) return 0;
    unsigned long n = 0;
    return ParseNumber(readerName.substr(prefix.size()), &n) ? static_cast<int>(n) : 0;
}

Token* Scenario::Find(const std::string& name)
{
    for (auto& t : tokens)
        if (t.name == name) return &t;
    return nullptr;
}

Token* Scenario::PluggedAt(Vendor v, int slot)
{
    for (auto& t : tokens)
        if (t.vendor == v && t.slot == slot && t.plugged) return &t;
    return nullptr;
}

bool Scenario::TakeFailure(const std::string& module, const std::string& function,
                           unsigned long* code)
{
    for (auto it = failures.begin(); it != failures.end(); ++it) {
        if (it->function != function || (!it->module.empty() && it->module != module)) continue;
        *code = it->code;
        if (it->times > 0 && --it->times == 0) failures.erase(it);
        return true;
    }
    return false;
}

bool ParseNumber(const std::string& text, unsigned long* value)
{
    std::string t = Trim(text);
    if (t.empty()) return false;
    char* end = nullptr;
    bool negative = t[0] == '-';
    const char* digits = t.c_str() + (negative ? 1 : 0);
    unsigned long v = std::strtoul(digits, &end, 0);
    if (end == digits || *end != '\0') return false;
    *value = negative ? static_cast<unsigned long>(-static_cast<long>(v)) : v;
    return true;
}

std::string BlankPadded(const std::string& text, size_t width)
{
    std::string s = text.substr(0, width);
    s.resize(width, ' ');
    return s;
}

Scenario ParseScenario(const std::string& text)
{
    Scenario s;
    std::istringstream in(text);
    std::string line, section;
    Token* token = nullptr;
    while (std::getline(in, line)) {
        line = Trim(line);
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line[0] == '[') {
            section = Trim(line.substr(1, line.find(']') - 1));
            token = nullptr;
            if (section.compare(0, 6, "token ") == 0) {
                s.tokens.push_back(Token());
                s.tokens.back().name = Trim(section.substr(6));
                token = &s.tokens.back();
            }
            continue;
        }
        size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        std::string key = Trim(line.substr(0, eq)), value = Unquoted(Trim(line.substr(eq + 1)));
        unsigned long n = 0;
        Vendor v;
        if (token)
            SetTokenField(*token, key, value);
        else if (section == "slots" && ParseVendor(key, &v) && ParseNumber(value, &n))
            s.slots[static_cast<int>(v)] = static_cast<int>(n);
        else if (section == "key-events" && key == "pending") {
            std::istringstream events(value);
            std::string e;
            while (events >> e) s.keyEvents.push_back(e);
        } else if (section == "fail")
            AddFailure(s, key, value);
    }
    return s;
}

std::string FormatScenario(const Scenario& s)
{
    std::ostringstream out;
    out << "; Token simulator scenario (format: sim/README.md)\r\n\r\n[slots]\r\n";
    for (int i = 0; i < static_cast<int>(Vendor::Count); ++i)
        out << kVendors[i].key << " = " << s.slots[i] << "\r\n";
    for (const auto& t : s.tokens) {
        out << "\r\n[token " << t.name << "]\r\n"
            << "vendor = " << Info(t.vendor).key << "\r\n"
            << "slot = " << t.slot << "\r\n"
            << "plugged = " << (t.plugged ? "yes" : "no") << "\r\n";
        if (!t.label.empty()) out << "label = " << Quoted(t.label) << "\r\n";
        out << "serial = " << Quoted(t.serial) << "\r\n";
        if (!t.htSerial.empty()) out << "ht-serial = " << Quoted(t.htSerial) << "\r\n";
        if (!t.ckSerial.empty()) out << "ck-serial = " << Quoted(t.ckSerial) << "\r\n";
        for (const auto& c : t.certs) out << "cert = " << c << "\r\n";
        out << "pin = " << Quoted(t.pin) << "\r\n"
            << "attempts = " << t.attemptsLeft << "\r\n"
            << "max-attempts = " << t.maxAttempts << "\r\n"
            << "locked = " << (t.locked ? "yes" : "no") << "\r\n"
            << "wrong-pin-rv = " << Hex(t.wrongPinRv) << "\r\n"
            << "min-pin = " << t.minPin << "\r\n"
            << "max-pin = " << t.maxPin << "\r\n";
    }
    out << "\r\n[key-events]\r\npending =";
    for (const auto& e : s.keyEvents) out << " " << e;
    out << "\r\n\r\n[fail]\r\n";
    for (const auto& f : s.failures) {
        out << (f.module.empty() ? "" : f.module + "!") << f.function << " = " << Hex(f.code);
        if (f.times > 0) out << " x" << f.times;
        out << "\r\n";
    }
    return out.str();
}

}  // namespace sim
