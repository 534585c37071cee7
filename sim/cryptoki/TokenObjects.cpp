#include "cryptoki/TokenObjects.h"

#include "core/SimFiles.h"

#include <windows.h>
#include <wincrypt.h>

#include <cstring>

namespace sim {
namespace {

std::string Blob(const void* data, DWORD size)
{
    return std::string(static_cast<const char*>(data), size);
}

std::string FileLabel(const std::string& path)
{
    size_t slash = path.find_last_of("\\/");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

}  // namespace

std::string ULongBytes(CK_ULONG value) { return Blob(&value, sizeof value); }

AttributeList CertificateAttributes(const std::string& derPath)
{
    std::string der;
    ReadTextFile(derPath, &der);
    const CK_BBOOL yes = CK_TRUE, no = CK_FALSE;
    AttributeList a = {
        {CKA_CLASS, ULongBytes(CKO_CERTIFICATE)},
        {CKA_TOKEN, Blob(&yes, 1)},
        {CKA_PRIVATE, Blob(&no, 1)},
        {CKA_CERTIFICATE_TYPE, ULongBytes(CKC_X_509)},
        {CKA_LABEL, FileLabel(derPath)},
        {CKA_VALUE, der},
    };
    // A file that is no certificate still makes an object, with its bytes
    // as the value: tokens carry broken objects too.
    PCCERT_CONTEXT cert = ::CertCreateCertificateContext(
        X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()),
        static_cast<DWORD>(der.size()));
    if (cert) {
        const CERT_INFO* info = cert->pCertInfo;
        a.push_back({CKA_SUBJECT, Blob(info->Subject.pbData, info->Subject.cbData)});
        a.push_back({CKA_ISSUER, Blob(info->Issuer.pbData, info->Issuer.cbData)});
        BYTE hash[20];
        DWORD size = sizeof hash;
        if (::CertGetCertificateContextProperty(cert, CERT_SHA1_HASH_PROP_ID, hash, &size))
            a.push_back({CKA_ID, Blob(hash, size)});
        ::CertFreeCertificateContext(cert);
    } else {
        a.push_back({CKA_SUBJECT, ""});
        a.push_back({CKA_ID, ""});
    }
    return a;
}

AttributeList HaiTaiSerialAttributes(const Token& token)
{
    return {{CKA_SERIAL_NUMBER, token.ckSerial}, {CKA_HAITAI_TOKEN_SERIAL, token.htSerial}};
}

bool Matches(const AttributeList& object, const CK_ATTRIBUTE* pattern, CK_ULONG count)
{
    for (CK_ULONG i = 0; i < count; ++i) {
        bool found = false;
        for (const auto& a : object) {
            if (a.type != pattern[i].type) continue;
            found = a.value.size() == pattern[i].ulValueLen &&
                    (a.value.empty() || std::memcmp(a.value.data(), pattern[i].pValue,
                                                    a.value.size()) == 0);
            break;
        }
        if (!found) return false;
    }
    return true;
}

CK_RV ReadAttributes(const AttributeList& object, CK_ATTRIBUTE* attributes, CK_ULONG count)
{
    CK_RV rv = CKR_OK;
    for (CK_ULONG i = 0; i < count; ++i) {
        CK_ATTRIBUTE& t = attributes[i];
        const Attribute* a = nullptr;
        for (const auto& candidate : object)
            if (candidate.type == t.type) a = &candidate;
        if (!a) {
            t.ulValueLen = CK_UNAVAILABLE_INFORMATION;
            rv = CKR_ATTRIBUTE_TYPE_INVALID;
        } else if (!t.pValue) {
            t.ulValueLen = static_cast<CK_ULONG>(a->value.size());
        } else if (t.ulValueLen < a->value.size()) {
            t.ulValueLen = CK_UNAVAILABLE_INFORMATION;
            if (rv == CKR_OK) rv = CKR_BUFFER_TOO_SMALL;
        } else {
            std::memcpy(t.pValue, a->value.data(), a->value.size());
            t.ulValueLen = static_cast<CK_ULONG>(a->value.size());
        }
    }
    return rv;
}

}  // namespace sim
