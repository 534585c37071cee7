// Adds DER certificate files to the current user's personal store:
//   cert_import.exe FILE.der ...
// Used to give the demo environment certificates to show.
#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

int main(int argc, char** argv)
{
    HCERTSTORE store = CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, L"MY");
    if (!store) return 1;
    int failed = 0;
    for (int i = 1; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        std::vector<unsigned char> der((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (der.empty() ||
            !CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, der.data(),
                                              static_cast<DWORD>(der.size()), CERT_STORE_ADD_REPLACE_EXISTING,
                                              nullptr)) {
            std::fprintf(stderr, "cannot add %s\n", argv[i]);
            ++failed;
            continue;
        }
        CertControlStore(store, 0, CERT_STORE_CTRL_COMMIT, nullptr);
    }
    CertCloseStore(store, 0);
    return failed ? 1 : 0;
}
