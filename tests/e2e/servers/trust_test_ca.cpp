// Adds a test CA certificate (DER file) to the machine Root store of the Wine prefix it runs in,
// so that WinInet accepts the local HTTPS test server. Only ever run inside a test prefix.
#include <windows.h>

#include <wincrypt.h>

#include <cstdio>
#include <vector>

namespace {

bool ReadWholeFile(const char *path, std::vector<BYTE> &bytes) {
    FILE *file = std::fopen(path, "rb");
    if (file == nullptr) {
        return false;
    }
    BYTE chunk[4096];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    bool ok = std::ferror(file) == 0;
    std::fclose(file);
    return ok && !bytes.empty();
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: trust_test_ca CA.der\n");
        return 2;
    }
    std::vector<BYTE> certificate;
    if (!ReadWholeFile(argv[1], certificate)) {
        std::fprintf(stderr, "trust_test_ca: cannot read %s\n", argv[1]);
        return 1;
    }
    HCERTSTORE root =
        CertOpenStore(CERT_STORE_PROV_SYSTEM_A, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, "Root");
    if (root == nullptr) {
        std::fprintf(stderr, "trust_test_ca: cannot open the Root store (%lu)\n", GetLastError());
        return 1;
    }
    BOOL added = CertAddEncodedCertificateToStore(root, X509_ASN_ENCODING, certificate.data(),
                                                  static_cast<DWORD>(certificate.size()),
                                                  CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
    DWORD error = GetLastError();
    CertCloseStore(root, 0);
    if (!added) {
        std::fprintf(stderr, "trust_test_ca: cannot add the certificate (%lu)\n", error);
        return 1;
    }
    return 0;
}
