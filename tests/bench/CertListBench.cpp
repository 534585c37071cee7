// How long TOLV takes to rebuild its certificate list, against the bare
// enumeration of the same store (open, enumerate, read both names), for
// growing stores.  A measurement, not a test: it prints a table.
//   bench_certlist.exe --tolv C:\...\TOLV.exe [--sizes 500,1000,2000]
#include "harness/Check.h"
#include "harness/TolvProcess.h"

#include <commctrl.h>
#include <wincrypt.h>

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace {

const UINT kCertRefresh = 1525;

double Seconds(LARGE_INTEGER a, LARGE_INTEGER b)
{
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return double(b.QuadPart - a.QuadPart) / double(f.QuadPart);
}

template <class Fn>
double MedianSeconds(int runs, Fn fn)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        LARGE_INTEGER a, b;
        QueryPerformanceCounter(&a);
        fn();
        QueryPerformanceCounter(&b);
        times.push_back(Seconds(a, b));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

HCERTSTORE OpenUserMy()
{
    return CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, L"MY");
}

std::vector<BYTE> EncodeName(const std::string& cn)
{
    DWORD size = 0;
    CertStrToNameA(X509_ASN_ENCODING, cn.c_str(), CERT_X500_NAME_STR, nullptr, nullptr, &size, nullptr);
    std::vector<BYTE> name(size);
    CertStrToNameA(X509_ASN_ENCODING, cn.c_str(), CERT_X500_NAME_STR, nullptr, name.data(), &size, nullptr);
    return name;
}

// Adds certificates issued by "QLMA" until the store holds `count`: a third
// signing, a third encryption (paired with the signing ones), a third with
// no key usage.  One key signs them all, which keeps this fast.
void FillStore(HCRYPTPROV prov, int from, int count)
{
    HCERTSTORE store = OpenUserMy();
    std::vector<BYTE> issuer = EncodeName("CN=QLMA");
    DWORD keySize = 0;
    CryptExportPublicKeyInfo(prov, AT_SIGNATURE, X509_ASN_ENCODING, nullptr, &keySize);
    std::vector<BYTE> keyInfo(keySize);
    CryptExportPublicKeyInfo(prov, AT_SIGNATURE, X509_ASN_ENCODING,
                             reinterpret_cast<PCERT_PUBLIC_KEY_INFO>(keyInfo.data()), &keySize);
    for (int i = from; i < count; ++i) {
        std::vector<BYTE> subject = EncodeName("CN=Holder " + std::to_string(i / 3));
        BYTE usageBits = (i % 3 == 0) ? 0x80 : 0x10;
        CRYPT_BIT_BLOB usage = {1, &usageBits, 0};
        BYTE usageDer[16];
        DWORD usageSize = sizeof(usageDer);
        CryptEncodeObject(X509_ASN_ENCODING, X509_KEY_USAGE, &usage, usageDer, &usageSize);
        CERT_EXTENSION ext = {const_cast<char*>(szOID_KEY_USAGE), TRUE, {usageSize, usageDer}};

        DWORD serial = 0x10000 + i;
        CERT_INFO info = {};
        info.dwVersion = CERT_V3;
        info.SerialNumber = {sizeof(serial), reinterpret_cast<BYTE*>(&serial)};
        info.SignatureAlgorithm.pszObjId = const_cast<char*>(szOID_RSA_SHA256RSA);
        info.Issuer = {static_cast<DWORD>(issuer.size()), issuer.data()};
        info.Subject = {static_cast<DWORD>(subject.size()), subject.data()};
        SYSTEMTIME from = {2024, 1, 0, 1}, to = {2035, 12, 0, 31};
        SystemTimeToFileTime(&from, &info.NotBefore);
        SystemTimeToFileTime(&to, &info.NotAfter);
        info.SubjectPublicKeyInfo = *reinterpret_cast<PCERT_PUBLIC_KEY_INFO>(keyInfo.data());
        if (i % 3 != 2) {
            info.cExtension = 1;
            info.rgExtension = &ext;
        }
        CRYPT_ALGORITHM_IDENTIFIER alg = {const_cast<char*>(szOID_RSA_SHA256RSA), {}};
        DWORD size = 0;
        CryptSignAndEncodeCertificate(prov, AT_SIGNATURE, X509_ASN_ENCODING, X509_CERT_TO_BE_SIGNED, &info, &alg,
                                      nullptr, nullptr, &size);
        std::vector<BYTE> der(size);
        if (!CryptSignAndEncodeCertificate(prov, AT_SIGNATURE, X509_ASN_ENCODING, X509_CERT_TO_BE_SIGNED, &info,
                                           &alg, nullptr, der.data(), &size))
            continue;
        CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, der.data(), size, CERT_STORE_ADD_REPLACE_EXISTING,
                                         nullptr);
    }
    CertControlStore(store, 0, CERT_STORE_CTRL_COMMIT, nullptr);
    CertCloseStore(store, 0);
}

int BareEnumeration()
{
    int count = 0;
    HCERTSTORE store = OpenUserMy();
    PCCERT_CONTEXT cert = nullptr;
    char name[512];
    while ((cert = CertEnumCertificatesInStore(store, cert)) != nullptr) {
        CertGetNameStringA(cert, CERT_NAME_SIMPLE_DISPLAY_TYPE, 0, nullptr, name, sizeof(name));
        CertGetNameStringA(cert, CERT_NAME_SIMPLE_DISPLAY_TYPE, CERT_NAME_ISSUER_FLAG, nullptr, name, sizeof(name));
        ++count;
    }
    CertCloseStore(store, 0);
    return count;
}

}  // namespace

TEST(CertListRebuildAgainstBareEnumeration)
{
    std::vector<int> sizes;
    std::stringstream list(check::Option("sizes", "500,1000,2000"));
    for (std::string item; std::getline(list, item, ',');) sizes.push_back(std::stoi(item));

    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Microsoft\\SystemCertificates\\MY\\Certificates");
    HCRYPTPROV prov = 0;
    const char* container = "tolv-bench";
    CryptAcquireContextA(&prov, container, nullptr, PROV_RSA_AES, CRYPT_DELETEKEYSET);
    CHECK(CryptAcquireContextA(&prov, container, nullptr, PROV_RSA_AES, CRYPT_NEWKEYSET));
    HCRYPTKEY key = 0;
    CHECK(CryptGenKey(prov, AT_SIGNATURE, 1024 << 16, &key));

    std::printf("%8s %12s %12s %8s %14s\n", "certs", "bare (ms)", "rebuild (ms)", "ratio", "rebuild/cert");
    int filled = 0;
    double firstPerCert = 0, lastPerCert = 0;
    for (int size : sizes) {
        FillStore(prov, filled, size);
        filled = size;
        int seen = BareEnumeration();
        double bare = MedianSeconds(5, [] { BareEnumeration(); });

        TolvProcess tolv;
        CHECK(tolv.Start());
        HWND main = tolv.WaitMainWindow(60000);
        CHECK(main != nullptr);
        if (!main) break;
        double rebuild = MedianSeconds(5, [&] {
            DWORD_PTR result;
            SendMessageTimeoutA(main, kCertRefresh, 0, 0, SMTO_NORMAL, 120000, &result);
        });
        int rows = static_cast<int>(SendMessageA(GetDlgItem(main, 1101), LVM_GETITEMCOUNT, 0, 0));
        double perCert = rebuild / seen;
        if (firstPerCert == 0) firstPerCert = perCert;
        lastPerCert = perCert;
        std::printf("%8d %12.1f %12.1f %8.2f %12.3f ms   (%d rows listed)\n", seen, bare * 1000, rebuild * 1000,
                    rebuild / bare, perCert * 1000, rows);
        std::fflush(stdout);
    }
    std::printf("rebuild time per certificate, largest store against smallest: %.2f (1.0 = linear)\n",
                lastPerCert / firstPerCert);
    CryptDestroyKey(key);
    CryptReleaseContext(prov, 0);
    CryptAcquireContextA(&prov, container, nullptr, PROV_RSA_AES, CRYPT_DELETEKEYSET);
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Microsoft\\SystemCertificates\\MY\\Certificates");
}
