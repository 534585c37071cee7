#include "pkcs11/Pkcs11Module.h"

#include <string>

#ifndef LOAD_LIBRARY_SEARCH_APPLICATION_DIR
#define LOAD_LIBRARY_SEARCH_APPLICATION_DIR 0x00000200
#endif
#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

namespace {

const char* const kExportNames[] = {
    "C_Initialize", "C_Finalize", "C_GetSlotList", "C_GetTokenInfo", "C_OpenSession",
    "C_CloseSession", "C_Login", "C_Logout", "C_SetPIN", "C_FindObjectsInit",
    "C_FindObjects", "C_FindObjectsFinal", "C_GetAttributeValue",
};
static_assert(sizeof(kExportNames) / sizeof(kExportNames[0]) ==
                  static_cast<size_t>(Pkcs11Module::Function::Count),
              "one export name per function");

// Windows 7 without its loader update refuses the search flags: fall back
// to the full path in the system folder, never to the current directory.
HMODULE LoadFromSystemFolders(const char* fileName)
{
    HMODULE module = ::LoadLibraryExA(
        fileName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32 | LOAD_LIBRARY_SEARCH_APPLICATION_DIR);
    if (module || ::GetLastError() != ERROR_INVALID_PARAMETER) return module;
    char folder[MAX_PATH];
    UINT n = ::GetSystemDirectoryA(folder, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return nullptr;
    std::string path = std::string(folder) + "\\" + fileName;
    return ::LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace

Pkcs11Module::~Pkcs11Module() { Unload(); }

bool Pkcs11Module::Load(const char* fileName, Search search)
{
    Unload();
    m_module = search == Search::Standard ? ::LoadLibraryA(fileName)
                                          : LoadFromSystemFolders(fileName);
    return m_module != nullptr;
}

void Pkcs11Module::Unload()
{
    for (auto& f : m_functions) f = nullptr;
    if (m_module) ::FreeLibrary(m_module);
    m_module = nullptr;
}

bool Pkcs11Module::Bind(std::initializer_list<Function> functions)
{
    bool all = true;
    for (Function f : functions) {
        FARPROC& slot = m_functions[static_cast<int>(f)];
        slot = m_module ? ::GetProcAddress(m_module, ExportName(f)) : nullptr;
        all = all && slot != nullptr;
    }
    return all;
}

bool Pkcs11Module::IsBound(Function f) const { return m_functions[static_cast<int>(f)] != nullptr; }

const char* Pkcs11Module::ExportName(Function f) { return kExportNames[static_cast<int>(f)]; }

#define CALL_BOUND(function, type, ...)                                        \
    do {                                                                       \
        auto fn = Get<cryptoki::type>(Function::function);                     \
        return fn ? fn(__VA_ARGS__) : static_cast<CK_RV>(CKR_FUNCTION_NOT_SUPPORTED); \
    } while (0)

CK_RV Pkcs11Module::Initialize() const { CALL_BOUND(Initialize, InitializeFn, nullptr); }

CK_RV Pkcs11Module::Finalize() const { CALL_BOUND(Finalize, FinalizeFn, nullptr); }

CK_RV Pkcs11Module::GetSlotList(CK_BBOOL tokenPresent, CK_SLOT_ID* slots, CK_ULONG* count) const
{
    CALL_BOUND(GetSlotList, GetSlotListFn, tokenPresent, slots, count);
}

Pkcs11Module::SlotList Pkcs11Module::ReadSlotList() const
{
    SlotList list;
    list.countRv = GetSlotList(CK_FALSE, nullptr, &list.allSlots);
    if (list.countRv != CKR_OK || list.allSlots == 0) return list;
    list.withToken.assign(list.allSlots, 0);
    CK_ULONG count = list.allSlots;
    list.listRv = GetSlotList(CK_TRUE, list.withToken.data(), &count);
    list.withToken.resize(list.listRv == CKR_OK && count <= list.allSlots ? count : 0);
    return list;
}

CK_RV Pkcs11Module::GetTokenInfo(CK_SLOT_ID slot, CK_TOKEN_INFO* info) const
{
    CALL_BOUND(GetTokenInfo, GetTokenInfoFn, slot, info);
}

CK_RV Pkcs11Module::OpenSession(CK_SLOT_ID slot, CK_FLAGS flags, CK_SESSION_HANDLE* session) const
{
    CALL_BOUND(OpenSession, OpenSessionFn, slot, flags, nullptr, nullptr, session);
}

CK_RV Pkcs11Module::CloseSession(CK_SESSION_HANDLE session) const
{
    CALL_BOUND(CloseSession, CloseSessionFn, session);
}

CK_RV Pkcs11Module::Login(CK_SESSION_HANDLE session, CK_USER_TYPE user, const char* pin,
                          CK_ULONG pinLen) const
{
    CALL_BOUND(Login, LoginFn, session, user,
               reinterpret_cast<CK_UTF8CHAR_PTR>(const_cast<char*>(pin)), pinLen);
}

CK_RV Pkcs11Module::Logout(CK_SESSION_HANDLE session) const { CALL_BOUND(Logout, LogoutFn, session); }

CK_RV Pkcs11Module::SetPIN(CK_SESSION_HANDLE session, const char* oldPin, CK_ULONG oldLen,
                           const char* newPin, CK_ULONG newLen) const
{
    CALL_BOUND(SetPIN, SetPinFn, session,
               reinterpret_cast<CK_UTF8CHAR_PTR>(const_cast<char*>(oldPin)), oldLen,
               reinterpret_cast<CK_UTF8CHAR_PTR>(const_cast<char*>(newPin)), newLen);
}

CK_RV Pkcs11Module::FindObjectsInit(CK_SESSION_HANDLE session, CK_ATTRIBUTE* pattern,
                                    CK_ULONG count) const
{
    CALL_BOUND(FindObjectsInit, FindObjectsInitFn, session, pattern, count);
}

CK_RV Pkcs11Module::FindObjects(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE* objects,
                                CK_ULONG max, CK_ULONG* found) const
{
    CALL_BOUND(FindObjects, FindObjectsFn, session, objects, max, found);
}

CK_RV Pkcs11Module::FindObjectsFinal(CK_SESSION_HANDLE session) const
{
    CALL_BOUND(FindObjectsFinal, FindObjectsFinalFn, session);
}

CK_RV Pkcs11Module::GetAttributeValue(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE object,
                                      CK_ATTRIBUTE* attributes, CK_ULONG count) const
{
    CALL_BOUND(GetAttributeValue, GetAttributeValueFn, session, object, attributes, count);
}
