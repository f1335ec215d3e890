#include "platform/Sha256.h"

#include "platform/UniqueHandle.h"

#include <wincrypt.h>

#include <algorithm>

namespace {

BOOL ReleaseProvider(HCRYPTPROV provider) { return CryptReleaseContext(provider, 0); }
using UniqueProvider = Unique<HCRYPTPROV, ReleaseProvider>;
using UniqueHash = Unique<HCRYPTHASH, CryptDestroyHash>;

}  // namespace

// The system's SHA-256 rather than one of our own: CryptoAPI is in advapi32, which the
// program links already, and its provider DLL is loaded from the system folder when asked.
std::optional<Sha256Digest> Sha256(const unsigned char* data, std::size_t size) {
    UniqueProvider provider;
    UniqueHash hash;
    if (!CryptAcquireContextW(provider.put(), nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT | CRYPT_SILENT) ||
        !CryptCreateHash(provider.get(), CALG_SHA_256, 0, 0, hash.put())) {
        return std::nullopt;
    }
    do {  // in pieces a DWORD can count
        const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
        if (!CryptHashData(hash.get(), data, piece, 0)) return std::nullopt;
        data += piece;
        size -= piece;
    } while (size > 0);
    Sha256Digest digest;
    DWORD length = static_cast<DWORD>(digest.size());
    if (!CryptGetHashParam(hash.get(), HP_HASHVAL, digest.data(), &length, 0) || length != digest.size()) {
        return std::nullopt;
    }
    return digest;
}
