// GEA20485.dll: the HaiTai device library.  Readers are the HaiTai slots
// of the scenario ("HaiTai USB Key Reader 1", ...); a device handle is the
// slot number of the reader it was connected through.
#include "haitai/DeviceLib.h"

#include "core/PinRules.h"
#include "core/SimCall.h"
#include "haitai/DeviceEvents.h"

#include <windows.h>
#include <wincrypt.h>

#include <cstring>

using namespace sim;
using namespace haitai;

namespace {

const char kModule[] = "GEA20485.dll";

std::string Str(const char* s) { return s ? s : "(null)"; }

int SlotOf(SimCall& call, const char* reader)
{
    if (!reader) return 0;
    int slot = SlotOfReader(Vendor::HaiTai, reader);
    return slot >= 1 && slot <= call.scenario().SlotCount(Vendor::HaiTai) ? slot : 0;
}

// Copies a list of zero-terminated names, ended by an empty name.
int CopyNameList(SimCall& call, const std::vector<std::string>& names, char* buffer,
                 unsigned long* length)
{
    std::string list;
    for (const auto& n : names) list += n + '\0';
    list += '\0';
    std::string out = Format("length=%u", static_cast<unsigned>(list.size()));
    if (!length) return static_cast<int>(call.Return(HS_ERR_PARAM));
    if (buffer && *length < list.size()) {
        *length = static_cast<unsigned long>(list.size());
        return static_cast<int>(call.Return(HS_ERR_BUFFER_SMALL, out));
    }
    *length = static_cast<unsigned long>(list.size());
    if (buffer) std::memcpy(buffer, list.data(), list.size());
    return static_cast<int>(call.Return(HS_OK, out));
}

// Adds the token's certificates to the current user's "MY" store, as the
// vendor's software does so that applications find them there.
bool AddCertsToUserStore(const Token& token)
{
    HCERTSTORE store = ::CertOpenSystemStoreA(0, "MY");
    if (!store) return false;
    for (const auto& path : token.certs) {
        std::string der;
        if (!ReadTextFile(path, &der) || der.empty()) continue;
        if (::CertAddEncodedCertificateToStore(
                store, X509_ASN_ENCODING | PKCS_7_ASN_ENCODING,
                reinterpret_cast<const BYTE*>(der.data()), static_cast<DWORD>(der.size()),
                CERT_STORE_ADD_REPLACE_EXISTING, nullptr))
            ::CertControlStore(store, 0, CERT_STORE_CTRL_COMMIT, nullptr);
    }
    ::CertCloseStore(store, 0);
    return true;
}

}  // namespace

extern "C" {

int __stdcall HSListReaders(char* buffer, unsigned long* length, unsigned long* count)
{
    SimCall call(kModule, "HSListReaders",
                 Format("buffer=%s length=%lu", buffer ? "buffer" : "NULL", length ? *length : 0UL));
    if (call.Injected()) return static_cast<int>(call.InjectedCode());
    std::vector<std::string> names;
    for (int slot = 1; slot <= call.scenario().SlotCount(Vendor::HaiTai); ++slot)
        names.push_back(ReaderName(Vendor::HaiTai, slot));
    if (count) *count = static_cast<unsigned long>(names.size());
    return CopyNameList(call, names, buffer, length);
}

int __stdcall HSConnectDev(const char* reader, void** device)
{
    SimCall call(kModule, "HSConnectDev", "reader=" + Str(reader));
    if (call.Injected()) return static_cast<int>(call.InjectedCode());
    int slot = SlotOf(call, reader);
    if (!device) return static_cast<int>(call.Return(HS_ERR_PARAM));
    if (!slot) return static_cast<int>(call.Return(HS_ERR_NO_READER));
    if (!call.scenario().PluggedAt(Vendor::HaiTai, slot))
        return static_cast<int>(call.Return(HS_ERR_NO_DEVICE));
    *device = reinterpret_cast<void*>(static_cast<INT_PTR>(slot));
    return static_cast<int>(call.Return(HS_OK, Format("device=%d", slot)));
}

int __stdcall HSDisconnectDev(void* device)
{
    SimCall call(kModule, "HSDisconnectDev", Format("device=%d", static_cast<int>(reinterpret_cast<INT_PTR>(device))));
    if (call.Injected()) return static_cast<int>(call.InjectedCode());
    return static_cast<int>(call.Return(device ? HS_OK : HS_ERR_PARAM));
}

// Sets a new user PIN without the old one (the administrator's reset) and
// unlocks the token.
int __stdcall HSReWriteUserPin(void* device, const char* newPin)
{
    int slot = static_cast<int>(reinterpret_cast<INT_PTR>(device));
    SimCall call(kModule, "HSReWriteUserPin", Format("device=%d pin=\"%s\"", slot, Str(newPin).c_str()));
    if (call.Injected()) return static_cast<int>(call.InjectedCode());
    if (!newPin) return static_cast<int>(call.Return(HS_ERR_PARAM));
    Token* t = call.scenario().PluggedAt(Vendor::HaiTai, slot);
    if (!t) return static_cast<int>(call.Return(HS_ERR_NO_DEVICE));
    t->pin = newPin;
    t->locked = false;
    t->attemptsLeft = t->maxAttempts;
    call.Changed();
    return static_cast<int>(call.Return(HS_OK));
}

int __stdcall HSSetDevChgEvent(const char* reader, DevChgCallback insert, DevChgCallback remove,
                               void* param, int flags)
{
    int slot;
    {
        SimCall call(kModule, "HSSetDevChgEvent",
                     Format("reader=%s insert=%s remove=%s flags=%d", Str(reader).c_str(),
                            insert ? "set" : "NULL", remove ? "set" : "NULL", flags));
        if (call.Injected()) return static_cast<int>(call.InjectedCode());
        slot = SlotOf(call, reader);
        if (!slot) return static_cast<int>(call.Return(HS_ERR_NO_READER));
        call.Return(HS_OK);
    }
    haitai::SetDevChgEvent(reader, slot, insert, remove, param);
    return HS_OK;
}

int __stdcall HSGetDevState(const char* reader, unsigned long* state)
{
    SimCall call(kModule, "HSGetDevState", "reader=" + Str(reader));
    if (call.Injected()) return static_cast<int>(call.InjectedCode());
    int slot = SlotOf(call, reader);
    if (!state) return static_cast<int>(call.Return(HS_ERR_PARAM));
    if (!slot) return static_cast<int>(call.Return(HS_ERR_NO_READER));
    *state = call.scenario().PluggedAt(Vendor::HaiTai, slot) ? kStatePresent : kStateEmpty;
    return static_cast<int>(call.Return(HS_OK, Format("state=%lu", *state)));
}

int __stdcall HSRegistCertByReaderName(const char* reader, const char* cspName)
{
    SimCall call(kModule, "HSRegistCertByReaderName",
                 "reader=" + Str(reader) + " csp=" + Str(cspName));
    if (call.Injected()) return static_cast<int>(call.InjectedCode());
    int slot = SlotOf(call, reader);
    if (!slot) return static_cast<int>(call.Return(HS_ERR_NO_READER));
    Token* t = call.scenario().PluggedAt(Vendor::HaiTai, slot);
    if (!t) return static_cast<int>(call.Return(HS_ERR_NO_DEVICE));
    if (!AddCertsToUserStore(*t)) return static_cast<int>(call.Return(HS_ERR_STORE));
    return static_cast<int>(call.Return(HS_OK, Format("certs=%u", static_cast<unsigned>(t->certs.size()))));
}

int __stdcall HSUnRegistAllCert(const char* reader)
{
    SimCall call(kModule, "HSUnRegistAllCert", "reader=" + Str(reader));
    if (call.Injected()) return static_cast<int>(call.InjectedCode());
    return static_cast<int>(call.Return(SlotOf(call, reader) ? HS_OK : HS_ERR_NO_READER));
}

// Container names: one per certificate of the token, "Container1", ...
int __stdcall HSListContainers(void* device, char* buffer, unsigned long* length)
{
    int slot = static_cast<int>(reinterpret_cast<INT_PTR>(device));
    SimCall call(kModule, "HSListContainers", Format("device=%d", slot));
    if (call.Injected()) return static_cast<int>(call.InjectedCode());
    Token* t = call.scenario().PluggedAt(Vendor::HaiTai, slot);
    if (!t) return static_cast<int>(call.Return(HS_ERR_NO_DEVICE));
    std::vector<std::string> names;
    for (size_t i = 0; i < t->certs.size(); ++i) names.push_back("Container" + std::to_string(i + 1));
    return CopyNameList(call, names, buffer, length);
}

}  // extern "C"
