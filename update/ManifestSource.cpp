#include "ManifestSource.h"

#include <shlwapi.h>

#include "framework/base/File.h"
#include "framework/crypto/EcdsaP256Key.h"
#include "framework/net/WholeDownload.h"
#include "framework/windows/App.h"

namespace {

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
    DownloadPolicy policy;
    policy.redirects = DownloadPolicy::kMaxRedirects;
    policy.maxBytes = limit;
    policy.checkedLater = true;
    policy.limits = limits;
    const CWinApp* app = AfxGetApp();
    CWholeDownload download(app ? static_cast<const char*>(app->GetAppName()) : "", policy);
    return download.ToMemory(source, bytes) == DownloadResult::Complete;
}

bool IsManifestSigned(const char* source, const std::string& manifest, const BYTE (&key)[64],
                      const InternetTransferLimits& limits) {
    std::string signature;
    CEcdsaP256Key verifier;
    return ReadManifestSource(AfxAppendToPath(source, ".sig"), kSignatureLimit, limits,
                              signature) &&
           verifier.Import(key) &&
           verifier.Verify(manifest.data(), static_cast<DWORD>(manifest.size()),
                           reinterpret_cast<const BYTE*>(signature.data()),
                           static_cast<DWORD>(signature.size()));
}
