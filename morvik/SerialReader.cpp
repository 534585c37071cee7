#include "SerialReader.h"

#include "SerialRules.h"
#include "pkcs11/Pkcs11Module.h"

#include <cstring>

namespace morvik {
namespace {

using F = Pkcs11Module::Function;

// Ends the module's library-wide initialisation on every way out.
class Initialized {
public:
    explicit Initialized(const Pkcs11Module& module) : m_module(module) { m_module.Initialize(); }
    ~Initialized() { m_module.Finalize(); }
    Initialized(const Initialized&) = delete;
    Initialized& operator=(const Initialized&) = delete;
private:
    const Pkcs11Module& m_module;
};

// A session closed on every way out.
class Session {
public:
    Session(const Pkcs11Module& module, CK_SLOT_ID slot) : m_module(module)
    {
        m_open = m_module.OpenSession(slot, CKF_SERIAL_SESSION | CKF_RW_SESSION, &m_handle) == CKR_OK;
    }
    ~Session() { if (m_open) m_module.CloseSession(m_handle); }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    bool IsOpen() const { return m_open; }
    CK_SESSION_HANDLE Handle() const { return m_handle; }
private:
    const Pkcs11Module& m_module;
    CK_SESSION_HANDLE m_handle = 0;
    bool m_open = false;
};

// The functions each path calls; a module lacking one of them is not used.
bool HasWhatItNeeds(const Pkcs11Module& m, ModuleKind kind)
{
    for (F f : {F::Initialize, F::Finalize, F::GetSlotList, F::GetTokenInfo})
        if (!m.IsBound(f)) return false;
    if (kind == ModuleKind::HaiTai)
        for (F f : {F::OpenSession, F::CloseSession, F::GetAttributeValue})
            if (!m.IsBound(f)) return false;
    return true;
}

std::string HaiTaiSessionSerial(const Pkcs11Module& m, CK_SLOT_ID slot)
{
    Session session(m, slot);
    if (!session.IsOpen()) return std::string();
    unsigned char ckSerial[18] = {};
    unsigned char vendorSerial[18] = {};
    // The module answers its own attribute for the token when given the
    // session handle in place of an object handle.
    CK_ATTRIBUTE templ[2] = {
        {CKA_SERIAL_NUMBER, ckSerial, sizeof ckSerial},
        {CKA_HAITAI_TOKEN_SERIAL, vendorSerial, sizeof vendorSerial},
    };
    // The answer is not looked at: a module that does not know one of the
    // two types still fills the other, and the buffers start zeroed.
    m.GetAttributeValue(session.Handle(), session.Handle(), templ, 2);
    return HaiTaiSerial(ckSerial, vendorSerial);
}

// The module is loaded and bound; everything from C_Initialize on.
std::string ReadFromModule(const Pkcs11Module& m, ModuleKind kind)
{
    Pkcs11Module::SlotList slots;  // outlives the initialisation: freed after C_Finalize
    Initialized initialized(m);    // already initialised by someone else: go on all the same
    slots = m.ReadSlotList();
    if (slots.withToken.empty()) return kCodeNoToken;
    if (slots.withToken.size() > 1) return kCodeManyTokens;
    const CK_SLOT_ID slot = slots.withToken[0];

    CK_TOKEN_INFO info;
    std::memset(&info, 0, sizeof info);
    const bool haveInfo = m.GetTokenInfo(slot, &info) == CKR_OK;
    if (kind == ModuleKind::HaiTai) return HaiTaiSessionSerial(m, slot);
    // A module that could not describe the token gives an empty serial
    // number rather than whatever it left in the record.
    return haveInfo ? TokenInfoSerial(kind, info.serialNumber) : std::string();
}

}  // namespace

std::string ReadSerial(const std::string& moduleName)
{
    const SupportedModule* supported = FindSupportedModule(moduleName);
    if (!supported) return kCodeUnsupportedName;

    // Never from the current directory: a script on any web page can name
    // the module, and a DLL planted in the browser's download folder would
    // otherwise run inside the browser.
    Pkcs11Module module;
    if (!module.Load(supported->fileName, Pkcs11Module::Search::SystemFolders))
        return supported->loadFailureCode;
    module.Bind({F::Initialize, F::Finalize, F::GetSlotList, F::GetTokenInfo, F::OpenSession,
                 F::CloseSession, F::GetAttributeValue});
    // Nothing of a module without the functions we call is called.
    if (!HasWhatItNeeds(module, supported->kind)) return supported->loadFailureCode;
    return ReadFromModule(module, supported->kind);
}

std::wstring ReadSerialForCaller(const wchar_t* name, UINT length)
{
    std::string ansi;
    if (name && length > 0) {
        int n = ::WideCharToMultiByte(CP_ACP, 0, name, static_cast<int>(length), nullptr, 0,
                                      nullptr, nullptr);
        if (n > 0) {
            ansi.resize(n);
            ::WideCharToMultiByte(CP_ACP, 0, name, static_cast<int>(length), &ansi[0], n, nullptr,
                                  nullptr);
        }
    }
    std::string serial = ReadSerial(ansi);
    std::wstring wide;
    if (!serial.empty()) {
        int n = ::MultiByteToWideChar(CP_ACP, 0, serial.data(), static_cast<int>(serial.size()),
                                      nullptr, 0);
        if (n > 0) {
            wide.resize(n);
            ::MultiByteToWideChar(CP_ACP, 0, serial.data(), static_cast<int>(serial.size()),
                                  &wide[0], n);
        }
    }
    return wide;
}

}  // namespace morvik
