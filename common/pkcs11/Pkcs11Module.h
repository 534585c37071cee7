// One vendor PKCS#11 module, loaded by its file name and bound function by
// function.  Every call goes through a member that answers
// CKR_FUNCTION_NOT_SUPPORTED when the module lacks the function, so a
// missing export is never called through a null pointer.
#pragma once

#include "pkcs11/Cryptoki.h"

#include <windows.h>

#include <initializer_list>
#include <vector>

class Pkcs11Module {
public:
    // Where the module file is looked for.
    enum class Search {
        Standard,       // LoadLibraryA with the bare name: the system's DLL search order
        SystemFolders,  // the system folder and the caller's program folder only
    };

    enum class Function {
        Initialize, Finalize, GetSlotList, GetTokenInfo, OpenSession, CloseSession,
        Login, Logout, SetPIN, FindObjectsInit, FindObjects, FindObjectsFinal,
        GetAttributeValue,
        Count
    };

    // The result of reading the slot list in its two calls.
    struct SlotList {
        CK_RV countRv = CKR_GENERAL_ERROR;    // C_GetSlotList(CK_FALSE, NULL, &count)
        CK_ULONG allSlots = 0;                // count it gave
        CK_RV listRv = CKR_GENERAL_ERROR;     // C_GetSlotList(CK_TRUE, slots, &count); not made
                                              // when the first call failed or gave 0 slots
        std::vector<CK_SLOT_ID> withToken;    // slots holding a token
    };

    Pkcs11Module() = default;
    ~Pkcs11Module();
    Pkcs11Module(const Pkcs11Module&) = delete;
    Pkcs11Module& operator=(const Pkcs11Module&) = delete;

    bool Load(const char* fileName, Search search = Search::Standard);
    void Unload();
    bool IsLoaded() const { return m_module != nullptr; }
    HMODULE Handle() const { return m_module; }

    // Looks up the named functions by their standard names ("C_" + name);
    // true when every one of them was found.
    bool Bind(std::initializer_list<Function> functions);
    bool IsBound(Function f) const;
    static const char* ExportName(Function f);

    CK_RV Initialize() const;  // always with a null argument
    CK_RV Finalize() const;    // always with a null argument
    CK_RV GetSlotList(CK_BBOOL tokenPresent, CK_SLOT_ID* slots, CK_ULONG* count) const;
    SlotList ReadSlotList() const;
    CK_RV GetTokenInfo(CK_SLOT_ID slot, CK_TOKEN_INFO* info) const;
    CK_RV OpenSession(CK_SLOT_ID slot, CK_FLAGS flags, CK_SESSION_HANDLE* session) const;
    CK_RV CloseSession(CK_SESSION_HANDLE session) const;
    CK_RV Login(CK_SESSION_HANDLE session, CK_USER_TYPE user, const char* pin,
                CK_ULONG pinLen) const;
    CK_RV Logout(CK_SESSION_HANDLE session) const;
    CK_RV SetPIN(CK_SESSION_HANDLE session, const char* oldPin, CK_ULONG oldLen,
                 const char* newPin, CK_ULONG newLen) const;
    CK_RV FindObjectsInit(CK_SESSION_HANDLE session, CK_ATTRIBUTE* pattern, CK_ULONG count) const;
    CK_RV FindObjects(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE* objects, CK_ULONG max,
                      CK_ULONG* found) const;
    CK_RV FindObjectsFinal(CK_SESSION_HANDLE session) const;
    CK_RV GetAttributeValue(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE object,
                            CK_ATTRIBUTE* attributes, CK_ULONG count) const;

private:
    template <class Fn>
    Fn Get(Function f) const { return reinterpret_cast<Fn>(m_functions[static_cast<int>(f)]); }

    HMODULE m_module = nullptr;
    FARPROC m_functions[static_cast<int>(Function::Count)] = {};
};
