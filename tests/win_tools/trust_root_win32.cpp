// Adds a certificate (a DER file) to the user's trusted root authorities, as
// an administrator's deployment would, for the end-to-end scripts that serve
// https from a test authority:
//   trust_root FILE.der
#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fputs("usage: trust_root FILE.der\n", stderr);
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::string der{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    HCERTSTORE store = CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, L"ROOT");
    const bool added = store && !der.empty() &&
                       CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING,
                                                        reinterpret_cast<const BYTE*>(der.data()),
                                                        static_cast<DWORD>(der.size()),
                                                        CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
    if (store) CertCloseStore(store, 0);
    if (!added) std::fprintf(stderr, "trust_root: not added (error %lu)\n", GetLastError());
    return added ? 0 : 1;
}
