// The vendors' PKCS#11 modules.  One source, built once per vendor with
// SIM_VENDOR set; each module sees only its own vendor's tokens.  Library
// state (initialisation, sessions, searches, login) is per process, as in a
// real module; tokens, PINs and certificates come from the scenario at each
// call, so a plug or pull is seen at the next call.
#define CRYPTOKI_EXPORTS
#include "core/PinRules.h"
#include "core/SimCall.h"
#include "cryptoki/TokenObjects.h"

#include <cstring>
#include <map>
#include <set>

using namespace sim;

namespace {

const Vendor kVendor = static_cast<Vendor>(SIM_VENDOR);
const std::string kModule = Info(kVendor).module;

struct Session {
    CK_SLOT_ID slot;
    std::string token;  // the scenario's name of the token it was opened on
    CK_FLAGS flags;
    bool finding = false;
    std::vector<CK_OBJECT_HANDLE> found;
    size_t next = 0;
};

// Guarded by the simulator's lock, which every entry point holds.
struct LibraryState {
    bool initialized = false;
    std::map<CK_SESSION_HANDLE, Session> sessions;
    std::set<std::string> loggedIn;          // tokens this process is logged in to
    CK_SESSION_HANDLE nextSession = 0x1001;  // apart from object handles 1, 2, ...
} g;

std::string Text(const CK_UTF8CHAR* p, CK_ULONG n)
{
    return p ? std::string(reinterpret_cast<const char*>(p), n) : std::string();
}

void CopyPadded(unsigned char* field, size_t width, const std::string& text)
{
    std::memcpy(field, BlankPadded(text, width).data(), width);
}

bool ValidSlot(SimCall& call, CK_SLOT_ID slot)
{
    return slot >= 1 && slot <= static_cast<CK_ULONG>(call.scenario().SlotCount(kVendor));
}

// The session a call names and the token it works on; `rv` says why
// there is none.
struct SessionToken {
    Session* session = nullptr;
    Token* token = nullptr;
    CK_RV rv = CKR_OK;
};

SessionToken Lookup(SimCall& call, CK_SESSION_HANDLE handle)
{
    SessionToken st;
    if (!g.initialized) {
        st.rv = CKR_CRYPTOKI_NOT_INITIALIZED;
        return st;
    }
    auto it = g.sessions.find(handle);
    if (it == g.sessions.end()) {
        st.rv = CKR_SESSION_HANDLE_INVALID;
        return st;
    }
    st.session = &it->second;
    st.token = call.scenario().PluggedAt(kVendor, static_cast<int>(st.session->slot));
    if (!st.token || st.token->name != st.session->token) {
        st.token = nullptr;
        st.rv = CKR_DEVICE_REMOVED;
    }
    return st;
}

void DropLoginsWithoutSessions()
{
    std::set<std::string> open;
    for (const auto& s : g.sessions) open.insert(s.second.token);
    for (auto it = g.loggedIn.begin(); it != g.loggedIn.end();)
        it = open.count(*it) ? std::next(it) : g.loggedIn.erase(it);
}

CK_RV LoginAnswer(PinOutcome outcome, const Token& token)
{
    switch (outcome) {
    case PinOutcome::Right: return CKR_OK;
    case PinOutcome::Locked: return CKR_PIN_LOCKED;
    default: return token.wrongPinRv;
    }
}

}  // namespace

extern "C" {

CK_RV C_Initialize(CK_VOID_PTR initArgs)
{
    SimCall call(kModule, "C_Initialize", initArgs ? "args" : "NULL");
    if (call.Injected()) return call.InjectedCode();
    if (g.initialized) return call.Return(CKR_CRYPTOKI_ALREADY_INITIALIZED);
    g.initialized = true;
    return call.Return(CKR_OK);
}

CK_RV C_Finalize(CK_VOID_PTR reserved)
{
    SimCall call(kModule, "C_Finalize", reserved ? "non-null" : "NULL");
    if (call.Injected()) return call.InjectedCode();
    if (reserved) return call.Return(CKR_ARGUMENTS_BAD);
    if (!g.initialized) return call.Return(CKR_CRYPTOKI_NOT_INITIALIZED);
    g.initialized = false;
    g.sessions.clear();
    g.loggedIn.clear();
    return call.Return(CKR_OK);
}

CK_RV C_GetInfo(CK_INFO_PTR info)
{
    SimCall call(kModule, "C_GetInfo", "");
    if (call.Injected()) return call.InjectedCode();
    if (!g.initialized) return call.Return(CKR_CRYPTOKI_NOT_INITIALIZED);
    if (!info) return call.Return(CKR_ARGUMENTS_BAD);
    std::memset(info, 0, sizeof *info);
    info->cryptokiVersion = {2, 20};
    CopyPadded(info->manufacturerID, 32, Info(kVendor).manufacturer);
    CopyPadded(info->libraryDescription, 32, "Token simulator");
    info->libraryVersion = {1, 0};
    return call.Return(CKR_OK);
}

CK_RV C_GetSlotList(CK_BBOOL tokenPresent, CK_SLOT_ID_PTR list, CK_ULONG_PTR count)
{
    SimCall call(kModule, "C_GetSlotList",
                 Format("tokenPresent=%u list=%s count=%lu", tokenPresent, list ? "buffer" : "NULL",
                        count ? *count : 0UL));
    if (call.Injected()) return call.InjectedCode();
    if (!g.initialized) return call.Return(CKR_CRYPTOKI_NOT_INITIALIZED);
    if (!count) return call.Return(CKR_ARGUMENTS_BAD);
    std::vector<CK_SLOT_ID> ids;
    for (int slot = 1; slot <= call.scenario().SlotCount(kVendor); ++slot)
        if (!tokenPresent || call.scenario().PluggedAt(kVendor, slot)) ids.push_back(slot);
    std::string out = Format("count=%u", static_cast<unsigned>(ids.size()));
    if (list && *count < ids.size()) {
        *count = static_cast<CK_ULONG>(ids.size());
        return call.Return(CKR_BUFFER_TOO_SMALL, out);
    }
    *count = static_cast<CK_ULONG>(ids.size());
    if (list) {
        out += " slots=";
        for (size_t i = 0; i < ids.size(); ++i) {
            list[i] = ids[i];
            out += (i ? "," : "") + std::to_string(ids[i]);
        }
    }
    return call.Return(CKR_OK, out);
}

CK_RV C_GetSlotInfo(CK_SLOT_ID slot, CK_SLOT_INFO_PTR info)
{
    SimCall call(kModule, "C_GetSlotInfo", Format("slot=%lu", slot));
    if (call.Injected()) return call.InjectedCode();
    if (!g.initialized) return call.Return(CKR_CRYPTOKI_NOT_INITIALIZED);
    if (!info) return call.Return(CKR_ARGUMENTS_BAD);
    if (!ValidSlot(call, slot)) return call.Return(CKR_SLOT_ID_INVALID);
    std::memset(info, 0, sizeof *info);
    CopyPadded(info->slotDescription, 64, ReaderName(kVendor, static_cast<int>(slot)));
    CopyPadded(info->manufacturerID, 32, Info(kVendor).manufacturer);
    info->flags = CKF_REMOVABLE_DEVICE | CKF_HW_SLOT;
    if (call.scenario().PluggedAt(kVendor, static_cast<int>(slot))) info->flags |= CKF_TOKEN_PRESENT;
    return call.Return(CKR_OK);
}

CK_RV C_GetTokenInfo(CK_SLOT_ID slot, CK_TOKEN_INFO_PTR info)
{
    SimCall call(kModule, "C_GetTokenInfo", Format("slot=%lu", slot));
    if (call.Injected()) return call.InjectedCode();
    if (!g.initialized) return call.Return(CKR_CRYPTOKI_NOT_INITIALIZED);
    if (!info) return call.Return(CKR_ARGUMENTS_BAD);
    if (!ValidSlot(call, slot)) return call.Return(CKR_SLOT_ID_INVALID);
    Token* t = call.scenario().PluggedAt(kVendor, static_cast<int>(slot));
    if (!t) return call.Return(CKR_TOKEN_NOT_PRESENT);
    std::memset(info, 0, sizeof *info);
    CopyPadded(info->label, 32, t->label.empty() ? t->name : t->label);
    CopyPadded(info->manufacturerID, 32, Info(kVendor).manufacturer);
    CopyPadded(info->model, 16, "USB Key");
    CopyPadded(info->serialNumber, 16, t->serial);
    info->flags = CKF_RNG | CKF_LOGIN_REQUIRED | CKF_USER_PIN_INITIALIZED | CKF_TOKEN_INITIALIZED;
    if (t->locked) info->flags |= CKF_USER_PIN_LOCKED;
    else if (t->attemptsLeft == 1) info->flags |= CKF_USER_PIN_FINAL_TRY;
    if (!t->locked && t->attemptsLeft < t->maxAttempts) info->flags |= CKF_USER_PIN_COUNT_LOW;
    info->ulMaxSessionCount = info->ulMaxRwSessionCount = CK_EFFECTIVELY_INFINITE;
    info->ulMinPinLen = static_cast<CK_ULONG>(t->minPin);
    info->ulMaxPinLen = static_cast<CK_ULONG>(t->maxPin);
    info->ulTotalPublicMemory = info->ulFreePublicMemory = CK_UNAVAILABLE_INFORMATION;
    info->ulTotalPrivateMemory = info->ulFreePrivateMemory = CK_UNAVAILABLE_INFORMATION;
    info->hardwareVersion = info->firmwareVersion = {1, 0};
    return call.Return(CKR_OK, "serial=\"" + BlankPadded(t->serial, 16) + "\"");
}

CK_RV C_OpenSession(CK_SLOT_ID slot, CK_FLAGS flags, CK_VOID_PTR, CK_NOTIFY,
                    CK_SESSION_HANDLE_PTR session)
{
    SimCall call(kModule, "C_OpenSession", Format("slot=%lu flags=0x%lX", slot, flags));
    if (call.Injected()) return call.InjectedCode();
    if (!g.initialized) return call.Return(CKR_CRYPTOKI_NOT_INITIALIZED);
    if (!session) return call.Return(CKR_ARGUMENTS_BAD);
    if (!(flags & CKF_SERIAL_SESSION)) return call.Return(CKR_SESSION_PARALLEL_NOT_SUPPORTED);
    if (!ValidSlot(call, slot)) return call.Return(CKR_SLOT_ID_INVALID);
    Token* t = call.scenario().PluggedAt(kVendor, static_cast<int>(slot));
    if (!t) return call.Return(CKR_TOKEN_NOT_PRESENT);
    Session s;
    s.slot = slot;
    s.token = t->name;
    s.flags = flags;
    *session = g.nextSession++;
    g.sessions[*session] = s;
    return call.Return(CKR_OK, Format("session=0x%lX", *session));
}

CK_RV C_CloseSession(CK_SESSION_HANDLE session)
{
    SimCall call(kModule, "C_CloseSession", Format("session=0x%lX", session));
    if (call.Injected()) return call.InjectedCode();
    if (!g.initialized) return call.Return(CKR_CRYPTOKI_NOT_INITIALIZED);
    if (!g.sessions.erase(session)) return call.Return(CKR_SESSION_HANDLE_INVALID);
    DropLoginsWithoutSessions();
    return call.Return(CKR_OK);
}

CK_RV C_CloseAllSessions(CK_SLOT_ID slot)
{
    SimCall call(kModule, "C_CloseAllSessions", Format("slot=%lu", slot));
    if (call.Injected()) return call.InjectedCode();
    if (!g.initialized) return call.Return(CKR_CRYPTOKI_NOT_INITIALIZED);
    if (!ValidSlot(call, slot)) return call.Return(CKR_SLOT_ID_INVALID);
    for (auto it = g.sessions.begin(); it != g.sessions.end();)
        it = it->second.slot == slot ? g.sessions.erase(it) : std::next(it);
    DropLoginsWithoutSessions();
    return call.Return(CKR_OK);
}

CK_RV C_GetSessionInfo(CK_SESSION_HANDLE session, CK_SESSION_INFO_PTR info)
{
    SimCall call(kModule, "C_GetSessionInfo", Format("session=0x%lX", session));
    if (call.Injected()) return call.InjectedCode();
    SessionToken st = Lookup(call, session);
    if (!st.token) return call.Return(st.rv);
    if (!info) return call.Return(CKR_ARGUMENTS_BAD);
    bool rw = (st.session->flags & CKF_RW_SESSION) != 0;
    bool user = g.loggedIn.count(st.token->name) != 0;
    info->slotID = st.session->slot;
    info->state = user ? (rw ? CKS_RW_USER_FUNCTIONS : CKS_RO_USER_FUNCTIONS)
                       : (rw ? CKS_RW_PUBLIC_SESSION : CKS_RO_PUBLIC_SESSION);
    info->flags = st.session->flags;
    info->ulDeviceError = 0;
    return call.Return(CKR_OK);
}

CK_RV C_Login(CK_SESSION_HANDLE session, CK_USER_TYPE user, CK_UTF8CHAR_PTR pin, CK_ULONG pinLen)
{
    std::string text = Text(pin, pinLen);
    SimCall call(kModule, "C_Login",
                 Format("session=0x%lX user=%lu pin=\"%s\"", session, user, text.c_str()));
    if (call.Injected()) return call.InjectedCode();
    SessionToken st = Lookup(call, session);
    if (!st.token) return call.Return(st.rv);
    if (user != CKU_USER && user != CKU_SO) return call.Return(CKR_USER_TYPE_INVALID);
    if (g.loggedIn.count(st.token->name)) return call.Return(CKR_USER_ALREADY_LOGGED_IN);
    if (!IsPinText(text)) return call.Return(CKR_PIN_INVALID);
    CK_RV rv = LoginAnswer(CheckUserPin(*st.token, text), *st.token);
    call.Changed();
    if (rv == CKR_OK) g.loggedIn.insert(st.token->name);
    return call.Return(rv, Format("attempts=%d", st.token->attemptsLeft));
}

CK_RV C_Logout(CK_SESSION_HANDLE session)
{
    SimCall call(kModule, "C_Logout", Format("session=0x%lX", session));
    if (call.Injected()) return call.InjectedCode();
    SessionToken st = Lookup(call, session);
    if (!st.token) return call.Return(st.rv);
    if (!g.loggedIn.erase(st.token->name)) return call.Return(CKR_USER_NOT_LOGGED_IN);
    return call.Return(CKR_OK);
}

CK_RV C_SetPIN(CK_SESSION_HANDLE session, CK_UTF8CHAR_PTR oldPin, CK_ULONG oldLen,
               CK_UTF8CHAR_PTR newPin, CK_ULONG newLen)
{
    std::string oldText = Text(oldPin, oldLen), newText = Text(newPin, newLen);
    SimCall call(kModule, "C_SetPIN",
                 Format("session=0x%lX old=\"%s\" new=\"%s\"", session, oldText.c_str(),
                        newText.c_str()));
    if (call.Injected()) return call.InjectedCode();
    SessionToken st = Lookup(call, session);
    if (!st.token) return call.Return(st.rv);
    if (!(st.session->flags & CKF_RW_SESSION)) return call.Return(CKR_SESSION_READ_ONLY);
    CK_RV rv = LoginAnswer(CheckUserPin(*st.token, oldText), *st.token);
    call.Changed();
    if (rv == CKR_OK) {
        if (!IsPinText(newText)) rv = CKR_PIN_INVALID;
        else if (!IsPinLengthAllowed(*st.token, newText)) rv = CKR_PIN_LEN_RANGE;
        else st.token->pin = newText;
    }
    return call.Return(rv, Format("attempts=%d", st.token->attemptsLeft));
}

CK_RV C_FindObjectsInit(CK_SESSION_HANDLE session, CK_ATTRIBUTE_PTR pattern, CK_ULONG count)
{
    std::string types;
    for (CK_ULONG i = 0; pattern && i < count; ++i)
        types += Format("%s0x%lX", i ? "," : "", pattern[i].type);
    SimCall call(kModule, "C_FindObjectsInit",
                 Format("session=0x%lX count=%lu types=%s", session, count, types.c_str()));
    if (call.Injected()) return call.InjectedCode();
    SessionToken st = Lookup(call, session);
    if (!st.token) return call.Return(st.rv);
    if (count && !pattern) return call.Return(CKR_ARGUMENTS_BAD);
    if (st.session->finding) return call.Return(CKR_OPERATION_ACTIVE);
    st.session->finding = true;
    st.session->found.clear();
    st.session->next = 0;
    for (size_t i = 0; i < st.token->certs.size(); ++i)
        if (Matches(CertificateAttributes(st.token->certs[i]), pattern, count))
            st.session->found.push_back(static_cast<CK_OBJECT_HANDLE>(i + 1));
    return call.Return(CKR_OK, Format("matches=%u", static_cast<unsigned>(st.session->found.size())));
}

CK_RV C_FindObjects(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE_PTR objects, CK_ULONG max,
                    CK_ULONG_PTR found)
{
    SimCall call(kModule, "C_FindObjects", Format("session=0x%lX max=%lu", session, max));
    if (call.Injected()) return call.InjectedCode();
    SessionToken st = Lookup(call, session);
    if (!st.token) return call.Return(st.rv);
    if (!objects || !found) return call.Return(CKR_ARGUMENTS_BAD);
    if (!st.session->finding) return call.Return(CKR_OPERATION_NOT_INITIALIZED);
    CK_ULONG n = 0;
    std::string out;
    while (n < max && st.session->next < st.session->found.size()) {
        objects[n] = st.session->found[st.session->next++];
        out += Format("%s%lu", n ? "," : " objects=", objects[n]);
        ++n;
    }
    *found = n;
    return call.Return(CKR_OK, Format("found=%lu", n) + out);
}

CK_RV C_FindObjectsFinal(CK_SESSION_HANDLE session)
{
    SimCall call(kModule, "C_FindObjectsFinal", Format("session=0x%lX", session));
    if (call.Injected()) return call.InjectedCode();
    SessionToken st = Lookup(call, session);
    if (!st.token) return call.Return(st.rv);
    if (!st.session->finding) return call.Return(CKR_OPERATION_NOT_INITIALIZED);
    st.session->finding = false;
    return call.Return(CKR_OK);
}

CK_RV C_GetAttributeValue(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE object,
                          CK_ATTRIBUTE_PTR attributes, CK_ULONG count)
{
    std::string types;
    for (CK_ULONG i = 0; attributes && i < count; ++i)
        types += Format("%s0x%lX%s", i ? "," : "", attributes[i].type,
                        attributes[i].pValue ? "" : "?");
    SimCall call(kModule, "C_GetAttributeValue",
                 Format("session=0x%lX object=0x%lX types=%s", session, object, types.c_str()));
    if (call.Injected()) return call.InjectedCode();
    SessionToken st = Lookup(call, session);
    if (!st.token) return call.Return(st.rv);
    if (count && !attributes) return call.Return(CKR_ARGUMENTS_BAD);
    AttributeList values;
    if (kVendor == Vendor::HaiTai && object == session)
        values = HaiTaiSerialAttributes(*st.token);
    else if (object >= 1 && object <= st.token->certs.size())
        values = CertificateAttributes(st.token->certs[object - 1]);
    else
        return call.Return(CKR_OBJECT_HANDLE_INVALID);
    CK_RV rv = ReadAttributes(values, attributes, count);
    std::string lengths;
    for (CK_ULONG i = 0; i < count; ++i)
        lengths += Format("%s%ld", i ? "," : "lengths=", static_cast<long>(attributes[i].ulValueLen));
    return call.Return(rv, lengths);
}

}  // extern "C"

// A client letting go of the module (FreeLibrary) shows in the log, so its
// clean-up can be checked; nothing is written when the whole process ends.
BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_DETACH && reserved == nullptr) AppendCall(kModule, "unload", "", "", "");
    return TRUE;
}
