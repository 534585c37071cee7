#include "certs/UserCertStore.h"

#include <vector>

CUserCertStore::CUserCertStore()
{
    m_store = ::CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, L"MY");
}

CUserCertStore::~CUserCertStore()
{
    // A pass that stopped early still holds the certificate it stopped at.
    if (m_current) ::CertFreeCertificateContext(m_current);
    if (m_store) ::CertCloseStore(m_store, 0);
}

PCCERT_CONTEXT CUserCertStore::Next()
{
    if (!m_store) return nullptr;
    m_current = ::CertEnumCertificatesInStore(m_store, m_current);
    return m_current;
}

bool CUserCertStore::SimpleName(PCCERT_CONTEXT cert, bool issuer, std::string* name)
{
    const DWORD flags = issuer ? CERT_NAME_ISSUER_FLAG : 0;
    DWORD length = ::CertGetNameStringA(cert, CERT_NAME_SIMPLE_DISPLAY_TYPE, flags, nullptr, nullptr, 0);
    if (length == 0) return false;
    std::vector<char> buffer(length + 1, '\0');
    ::CertGetNameStringA(cert, CERT_NAME_SIMPLE_DISPLAY_TYPE, flags, nullptr, buffer.data(), length);
    name->assign(buffer.data());
    return true;
}
