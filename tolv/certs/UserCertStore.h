// The current user's personal certificate store ("MY"), opened for one
// pass over its certificates and closed again by the destructor.
#pragma once

#include <windows.h>
#include <wincrypt.h>

#include <string>

class CUserCertStore {
public:
    CUserCertStore();
    ~CUserCertStore();
    CUserCertStore(const CUserCertStore&) = delete;
    CUserCertStore& operator=(const CUserCertStore&) = delete;

    // The next certificate in store order, or null at the end (or when the
    // store could not be opened).  Stays valid until the next call.
    PCCERT_CONTEXT Next();

    // The subject's (or with issuer, the issuer's) simple display name.
    // False when the name has no length: the caller stops its pass there.
    static bool SimpleName(PCCERT_CONTEXT cert, bool issuer, std::string* name);

private:
    HCERTSTORE m_store = nullptr;
    PCCERT_CONTEXT m_current = nullptr;
};
