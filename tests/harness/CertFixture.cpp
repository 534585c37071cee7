#include "harness/CertFixture.h"
#include "harness/Check.h"

#include <windows.h>
#include <wincrypt.h>

#include <fstream>
#include <iterator>
#include <map>

namespace certfix {
namespace {

std::string CertDir() { return check::Option("certs", "C:\\certs"); }

HCERTSTORE OpenUserMy()
{
    return CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, L"MY");
}

std::vector<unsigned char> ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Test certificates are told apart by their serial numbers.
std::string SerialOf(PCCERT_CONTEXT cert)
{
    const CRYPT_INTEGER_BLOB& s = cert->pCertInfo->SerialNumber;
    return std::string(reinterpret_cast<const char*>(s.pbData), s.cbData) +
           std::string(reinterpret_cast<const char*>(cert->pCertInfo->Issuer.pbData),
                       cert->pCertInfo->Issuer.cbData);
}

std::map<std::string, std::string> g_nameBySerial;

}  // namespace

void ClearUserStore()
{
    // The store lives in the registry; deleting through the store API is
    // not always written back here, so the certificates' key goes.
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Microsoft\\SystemCertificates\\MY\\Certificates");
}

bool AddToUserStore(const std::vector<std::string>& names)
{
    HCERTSTORE store = OpenUserMy();
    if (!store) return false;
    bool ok = true;
    for (const std::string& name : names) {
        std::vector<unsigned char> der = ReadFile(CertDir() + "\\" + name + ".der");
        PCCERT_CONTEXT added = nullptr;
        if (der.empty() ||
            !CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, der.data(),
                                              static_cast<DWORD>(der.size()), CERT_STORE_ADD_REPLACE_EXISTING,
                                              &added)) {
            ok = false;
            continue;
        }
        g_nameBySerial[SerialOf(added)] = name;
        CertFreeCertificateContext(added);
        // Each add is committed at once: a later failure in this handle
        // must not lose it.
        CertControlStore(store, 0, CERT_STORE_CTRL_COMMIT, nullptr);
    }
    CertCloseStore(store, 0);
    return ok;
}

bool SetUserStore(const std::vector<std::string>& names)
{
    ClearUserStore();
    return AddToUserStore(names);
}

std::vector<std::string> StoreOrder()
{
    std::vector<std::string> order;
    HCERTSTORE store = OpenUserMy();
    if (!store) return order;
    PCCERT_CONTEXT cert = nullptr;
    while ((cert = CertEnumCertificatesInStore(store, cert)) != nullptr) {
        auto it = g_nameBySerial.find(SerialOf(cert));
        order.push_back(it == g_nameBySerial.end() ? "?" : it->second);
    }
    CertCloseStore(store, 0);
    return order;
}

}  // namespace certfix
