// TOLVApi.dll: the authority's certificate library.  GetCertSub reads the
// first certificate of the token in the named PKCS#11 module; GetEndDate
// finds the plugged-in token certificate of a holder and gives its end of
// validity (UTC) as "year-month-day hour:minute:second".
#include "core/SimCall.h"
#include "pkcs11/Pkcs11Module.h"

#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <cstring>

using namespace sim;

namespace {

const char kModule[] = "TOLVApi.dll";
const DWORD kEncoding = X509_ASN_ENCODING | PKCS_7_ASN_ENCODING;

enum : int {
    kOk = 0,
    kModuleMissing = 97,
    kNotInitialized = 98,
    kNoToken = 99,
    kTokenUnreadable = 100,
    kNoCertificate = 107,
    kNoEndDate = 116,
};

void CopyOut(char* out, const std::string& text)
{
    std::strncpy(out, text.c_str(), 259);
    out[259] = '\0';
}

// The DER value of the first certificate object on the first token.
int ReadFirstCertificate(const char* moduleName, std::string* der)
{
    using F = Pkcs11Module::Function;
    Pkcs11Module m;
    if (!moduleName || !m.Load(moduleName)) return kModuleMissing;
    m.Bind({F::Initialize, F::Finalize, F::GetSlotList, F::OpenSession, F::CloseSession,
            F::FindObjectsInit, F::FindObjects, F::FindObjectsFinal, F::GetAttributeValue});
    CK_RV rv = m.Initialize();
    if (rv != CKR_OK && rv != CKR_CRYPTOKI_ALREADY_INITIALIZED) return kNotInitialized;
    bool ownsInit = rv == CKR_OK;
    int result = kNoToken;
    Pkcs11Module::SlotList slots = m.ReadSlotList();
    CK_SESSION_HANDLE session = 0;
    if (!slots.withToken.empty() &&
        m.OpenSession(slots.withToken[0], CKF_SERIAL_SESSION, &session) == CKR_OK) {
        CK_OBJECT_CLASS cls = CKO_CERTIFICATE;
        CK_ATTRIBUTE pattern[] = {{CKA_CLASS, &cls, sizeof cls}};
        CK_OBJECT_HANDLE object = 0;
        CK_ULONG found = 0;
        result = kTokenUnreadable;
        if (m.FindObjectsInit(session, pattern, 1) == CKR_OK) {
            if (m.FindObjects(session, &object, 1, &found) == CKR_OK)
                result = found == 1 ? kOk : kNoCertificate;
            m.FindObjectsFinal(session);
        }
        CK_ATTRIBUTE value = {CKA_VALUE, nullptr, 0};
        if (result == kOk && m.GetAttributeValue(session, object, &value, 1) == CKR_OK &&
            value.ulValueLen != CK_UNAVAILABLE_INFORMATION) {
            der->assign(value.ulValueLen, '\0');
            value.pValue = &(*der)[0];
            if (m.GetAttributeValue(session, object, &value, 1) != CKR_OK) result = kTokenUnreadable;
        } else if (result == kOk)
            result = kTokenUnreadable;
        m.CloseSession(session);
    } else if (!slots.withToken.empty())
        result = kTokenUnreadable;
    if (ownsInit) m.Finalize();
    return result;
}

// "CN=holder, O=organisation, C=CN": the subject's components from the
// most specific one, never quoted.
std::string SubjectText(const CERT_NAME_BLOB& subject)
{
    static const struct { const char* oid; const char* key; } kKeys[] = {
        {szOID_COMMON_NAME, "CN"}, {szOID_ORGANIZATIONAL_UNIT_NAME, "OU"},
        {szOID_ORGANIZATION_NAME, "O"}, {szOID_LOCALITY_NAME, "L"},
        {szOID_STATE_OR_PROVINCE_NAME, "S"}, {szOID_COUNTRY_NAME, "C"},
        {szOID_RSA_emailAddr, "E"},
    };
    CERT_NAME_INFO* name = nullptr;
    DWORD size = 0;
    if (!::CryptDecodeObjectEx(kEncoding, X509_NAME, subject.pbData, subject.cbData,
                               CRYPT_DECODE_ALLOC_FLAG, nullptr, &name, &size))
        return "";
    std::string text;
    for (DWORD i = name->cRDN; i-- > 0;) {
        const CERT_RDN& rdn = name->rgRDN[i];
        for (DWORD j = 0; j < rdn.cRDNAttr; ++j) {
            const CERT_RDN_ATTR& attr = rdn.rgRDNAttr[j];
            std::string key = attr.pszObjId;
            for (const auto& k : kKeys)
                if (key == k.oid) key = k.key;
            char value[512] = "";
            ::CertRDNValueToStrA(attr.dwValueType, const_cast<CERT_RDN_VALUE_BLOB*>(&attr.Value),
                                 value, sizeof value);
            text += (text.empty() ? "" : ", ") + key + "=" + value;
        }
    }
    ::LocalFree(name);
    return text;
}

bool EndDateOf(const std::string& holder, std::string* text)
{
    SimLock lock;
    Scenario s = LoadScenario();
    for (const auto& token : s.tokens) {
        if (!token.plugged) continue;
        for (const auto& path : token.certs) {
            std::string der;
            ReadTextFile(path, &der);
            PCCERT_CONTEXT cert = ::CertCreateCertificateContext(
                kEncoding, reinterpret_cast<const BYTE*>(der.data()), static_cast<DWORD>(der.size()));
            if (!cert) continue;
            char cn[256] = "";
            ::CertGetNameStringA(cert, CERT_NAME_ATTR_TYPE, 0, const_cast<char*>(szOID_COMMON_NAME),
                                 cn, sizeof cn);
            SYSTEMTIME t;
            bool match = holder == cn && ::FileTimeToSystemTime(&cert->pCertInfo->NotAfter, &t);
            ::CertFreeCertificateContext(cert);
            if (!match) continue;
            *text = Format("%d-%d-%d %d:%d:%d", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
            return true;
        }
    }
    return false;
}

}  // namespace

extern "C" {

int __stdcall GetCertSub(const char* moduleName, char* subject)
{
    // Logged when it returns, after the module calls it made.
    std::string args = std::string("module=") + (moduleName ? moduleName : "(null)");
    unsigned long injected = 0;
    if (InjectedFailure(kModule, "GetCertSub", args, &injected)) return static_cast<int>(injected);
    std::string der;
    if (!subject) return kModuleMissing;
    int result = ReadFirstCertificate(moduleName, &der);
    std::string text;
    if (result == kOk) {
        PCCERT_CONTEXT cert = ::CertCreateCertificateContext(
            kEncoding, reinterpret_cast<const BYTE*>(der.data()), static_cast<DWORD>(der.size()));
        if (cert) {
            text = SubjectText(cert->pCertInfo->Subject);
            ::CertFreeCertificateContext(cert);
        } else
            result = kTokenUnreadable;
    }
    CopyOut(subject, text);
    AppendCall(kModule, "GetCertSub", args, Format("%d", result), "subject=\"" + text + "\"");
    return result;
}

int __stdcall GetEndDate(const char* holder, char* endDate)
{
    SimCall call(kModule, "GetEndDate", std::string("holder=\"") + (holder ? holder : "") + "\"");
    if (call.Injected()) return static_cast<int>(call.InjectedCode());
    std::string text;
    int result = holder && endDate && EndDateOf(holder, &text) ? kOk : kNoEndDate;
    if (endDate) CopyOut(endDate, text);
    call.ReturnText(Format("%d", result), "date=\"" + text + "\"");
    return result;
}

}  // extern "C"
