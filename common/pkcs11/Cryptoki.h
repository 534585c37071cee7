// The standard Cryptoki types and constants, with the packing that Windows
// modules are built with, and the function types we call them through.
#pragma once

#include <p11-kit/pkcs11.h>

static_assert(sizeof(CK_ULONG) == 4, "Cryptoki on Windows uses 32-bit CK_ULONG");
static_assert(sizeof(CK_BBOOL) == 1, "CK_BBOOL is one byte");
static_assert(sizeof(CK_ATTRIBUTE) == 8 + sizeof(void*), "CK_ATTRIBUTE is packed to 1 byte");
static_assert(sizeof(CK_TOKEN_INFO) == 160, "CK_TOKEN_INFO is packed to 1 byte");

// The HaiTai module keeps the token's own serial number in this vendor
// attribute, read with a session handle in place of an object handle.
constexpr CK_ATTRIBUTE_TYPE CKA_HAITAI_TOKEN_SERIAL = 0x5D6C0005UL;

namespace cryptoki {

// Every Cryptoki entry point is caller-cleans (cdecl) on 32-bit Windows.
using InitializeFn = CK_RV(__cdecl*)(CK_VOID_PTR);
using FinalizeFn = CK_RV(__cdecl*)(CK_VOID_PTR);
using GetSlotListFn = CK_RV(__cdecl*)(CK_BBOOL, CK_SLOT_ID_PTR, CK_ULONG_PTR);
using GetTokenInfoFn = CK_RV(__cdecl*)(CK_SLOT_ID, CK_TOKEN_INFO_PTR);
using OpenSessionFn = CK_RV(__cdecl*)(CK_SLOT_ID, CK_FLAGS, CK_VOID_PTR, CK_NOTIFY,
                                      CK_SESSION_HANDLE_PTR);
using CloseSessionFn = CK_RV(__cdecl*)(CK_SESSION_HANDLE);
using LoginFn = CK_RV(__cdecl*)(CK_SESSION_HANDLE, CK_USER_TYPE, CK_UTF8CHAR_PTR, CK_ULONG);
using LogoutFn = CK_RV(__cdecl*)(CK_SESSION_HANDLE);
using SetPinFn = CK_RV(__cdecl*)(CK_SESSION_HANDLE, CK_UTF8CHAR_PTR, CK_ULONG, CK_UTF8CHAR_PTR,
                                 CK_ULONG);
using FindObjectsInitFn = CK_RV(__cdecl*)(CK_SESSION_HANDLE, CK_ATTRIBUTE_PTR, CK_ULONG);
using FindObjectsFn = CK_RV(__cdecl*)(CK_SESSION_HANDLE, CK_OBJECT_HANDLE_PTR, CK_ULONG,
                                      CK_ULONG_PTR);
using FindObjectsFinalFn = CK_RV(__cdecl*)(CK_SESSION_HANDLE);
using GetAttributeValueFn = CK_RV(__cdecl*)(CK_SESSION_HANDLE, CK_OBJECT_HANDLE,
                                            CK_ATTRIBUTE_PTR, CK_ULONG);

}  // namespace cryptoki
