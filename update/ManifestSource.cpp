#include "ManifestSource.h"

#include <shlwapi.h>

#include "framework/crypto/EcdsaP256Key.h"
#include "framework/base/File.h"

namespace {

constexpr int kRedirects = 5;
// A DER signature of P-256 takes at most 72 bytes.
constexpr size_t kSignatureLimit = 1024;

// A path, or a file: address as the platform writes one.
bool ReadFileSource(const char* source, size_t limit, std::string& bytes) {
    char path[MAX_PATH * 2] = {};
    DWORD length = sizeof(path);
    if (::UrlIsFileUrlA(source) && SUCCEEDED(::PathCreateFromUrlA(source, path, &length, 0)))
        source = path;
    return ReadWholeFile(source, limit, bytes);
}

} // namespace

// A cut document does not parse and a cut signature does not verify, so the reader of the
// bytes vouches for their length where the server gives none.
bool ReadManifestSource(const char* source, size_t limit, const InternetTransferLimits& limits,
                        std::string& bytes) {
    bytes.clear();
    HttpAddress address;
    if (!AfxParseHttpAddress(source, address))
        return ReadFileSource(source, limit, bytes);
    const auto keep = [&bytes, limit](const BYTE* data, DWORD size) {
        if (bytes.size() + size > limit)
            return false;
        bytes.append(reinterpret_cast<const char*>(data), size);
        return true;
    };
    HttpDownload download(limits);
    return download.Open(source, kRedirects) == HttpDownload::Outcome::Complete &&
           download.Receive(keep, 0, true, limit) == HttpDownload::Outcome::Complete;
}

bool IsManifestSigned(const char* source, const std::string& manifest, const BYTE (&key)[64],
                      const InternetTransferLimits& limits) {
    std::string signature;
    CEcdsaP256Key verifier;
    return ReadManifestSource(CString(source) + ".sig", kSignatureLimit, limits, signature) &&
           verifier.Import(key) &&
           verifier.Verify(manifest.data(), static_cast<DWORD>(manifest.size()),
                           reinterpret_cast<const BYTE*>(signature.data()),
                           static_cast<DWORD>(signature.size()));
}
