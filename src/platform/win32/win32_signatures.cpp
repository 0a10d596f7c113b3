#include "platform/win32/win32_signatures.h"

#include "platform/win32/windows_api.h"

#include <bcrypt.h>

namespace grimsweep::win32 {

namespace {

constexpr ULONG kCoordinateBytes = 32;

class Algorithm {
public:
    explicit Algorithm(LPCWSTR name) {
        if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&handle_, name, nullptr, 0))) {
            handle_ = nullptr;
        }
    }
    ~Algorithm() {
        if (handle_) {
            BCryptCloseAlgorithmProvider(handle_, 0);
        }
    }
    Algorithm(const Algorithm&) = delete;
    Algorithm& operator=(const Algorithm&) = delete;
    BCRYPT_ALG_HANDLE Get() const { return handle_; }

private:
    BCRYPT_ALG_HANDLE handle_ = nullptr;
};

class KeyHandle {
public:
    KeyHandle() = default;
    ~KeyHandle() {
        if (handle_) {
            BCryptDestroyKey(handle_);
        }
    }
    KeyHandle(const KeyHandle&) = delete;
    KeyHandle& operator=(const KeyHandle&) = delete;
    BCRYPT_KEY_HANDLE* Out() { return &handle_; }
    BCRYPT_KEY_HANDLE Get() const { return handle_; }

private:
    BCRYPT_KEY_HANDLE handle_ = nullptr;
};

PUCHAR Bytes(std::string& text) {
    return reinterpret_cast<PUCHAR>(text.data());
}

std::optional<std::string> Digest(std::string_view message) {
    const Algorithm sha(BCRYPT_SHA256_ALGORITHM);
    BCRYPT_HASH_HANDLE hash = nullptr;
    if (!sha.Get() || !BCRYPT_SUCCESS(BCryptCreateHash(sha.Get(), &hash, nullptr, 0, nullptr, 0, 0))) {
        return std::nullopt;
    }
    std::string digest(32, '\0');
    std::string copy(message); // BCryptHashData takes a non-const buffer
    const bool done =
        BCRYPT_SUCCESS(BCryptHashData(hash, Bytes(copy), static_cast<ULONG>(copy.size()), 0)) &&
        BCRYPT_SUCCESS(BCryptFinishHash(hash, Bytes(digest), static_cast<ULONG>(digest.size()), 0));
    BCryptDestroyHash(hash);
    return done ? std::optional(digest) : std::nullopt;
}

// CNG's key blob: its header, then X and Y, then d for a private key.
std::string KeyBlob(ULONG magic, std::string_view publicKey, std::string_view privateKey) {
    BCRYPT_ECCKEY_BLOB header{magic, kCoordinateBytes};
    std::string blob(reinterpret_cast<const char*>(&header), sizeof header);
    blob.append(publicKey.substr(1));
    blob.append(privateKey);
    return blob;
}

bool Import(const Algorithm& ecdsa, std::string_view publicKey, std::string_view privateKey, KeyHandle& key) {
    if (!ecdsa.Get() || publicKey.size() != kP256PublicKeyBytes || publicKey.front() != '\x04' ||
        (!privateKey.empty() && privateKey.size() != kP256PrivateKeyBytes)) {
        return false;
    }
    const bool isPrivate = !privateKey.empty();
    std::string blob = KeyBlob(isPrivate ? BCRYPT_ECDSA_PRIVATE_P256_MAGIC : BCRYPT_ECDSA_PUBLIC_P256_MAGIC,
                               publicKey, privateKey);
    return BCRYPT_SUCCESS(BCryptImportKeyPair(ecdsa.Get(), nullptr,
                                              isPrivate ? BCRYPT_ECCPRIVATE_BLOB : BCRYPT_ECCPUBLIC_BLOB,
                                              key.Out(), Bytes(blob), static_cast<ULONG>(blob.size()), 0));
}

} // namespace

std::optional<P256KeyPair> Win32Signatures::MakeKeyPair() {
    const Algorithm ecdsa(BCRYPT_ECDSA_P256_ALGORITHM);
    KeyHandle key;
    if (!ecdsa.Get() || !BCRYPT_SUCCESS(BCryptGenerateKeyPair(ecdsa.Get(), key.Out(), 256, 0)) ||
        !BCRYPT_SUCCESS(BCryptFinalizeKeyPair(key.Get(), 0))) {
        return std::nullopt;
    }
    std::string blob(sizeof(BCRYPT_ECCKEY_BLOB) + 3 * kCoordinateBytes, '\0');
    ULONG written = 0;
    if (!BCRYPT_SUCCESS(BCryptExportKey(key.Get(), nullptr, BCRYPT_ECCPRIVATE_BLOB, Bytes(blob),
                                        static_cast<ULONG>(blob.size()), &written, 0)) ||
        written != blob.size()) {
        return std::nullopt;
    }
    const std::string_view parts = std::string_view(blob).substr(sizeof(BCRYPT_ECCKEY_BLOB));
    return P256KeyPair{std::string(parts.substr(2 * kCoordinateBytes)),
                       "\x04" + std::string(parts.substr(0, 2 * kCoordinateBytes))};
}

std::optional<std::string> Win32Signatures::Sign(const P256KeyPair& pair, std::string_view message) {
    const Algorithm ecdsa(BCRYPT_ECDSA_P256_ALGORITHM);
    KeyHandle key;
    auto digest = Digest(message);
    if (pair.privateKey.empty() || !digest || !Import(ecdsa, pair.publicKey, pair.privateKey, key)) {
        return std::nullopt;
    }
    std::string signature(kP256SignatureBytes, '\0');
    ULONG written = 0;
    if (!BCRYPT_SUCCESS(BCryptSignHash(key.Get(), nullptr, Bytes(*digest), static_cast<ULONG>(digest->size()),
                                       Bytes(signature), static_cast<ULONG>(signature.size()), &written,
                                       0)) ||
        written != kP256SignatureBytes) {
        return std::nullopt;
    }
    return signature;
}

bool Win32Signatures::Verify(std::string_view publicKey, std::string_view message,
                             std::string_view signature) {
    const Algorithm ecdsa(BCRYPT_ECDSA_P256_ALGORITHM);
    KeyHandle key;
    auto digest = Digest(message);
    if (signature.size() != kP256SignatureBytes || !digest || !Import(ecdsa, publicKey, {}, key)) {
        return false;
    }
    std::string copy(signature);
    return BCRYPT_SUCCESS(BCryptVerifySignature(key.Get(), nullptr, Bytes(*digest),
                                                static_cast<ULONG>(digest->size()), Bytes(copy),
                                                static_cast<ULONG>(copy.size()), 0));
}

std::optional<std::string> Win32Signatures::Sha256(std::string_view bytes) {
    return Digest(bytes);
}

} // namespace grimsweep::win32

namespace grimsweep {

std::unique_ptr<ISignatures> MakePlatformSignatures() {
    return std::make_unique<win32::Win32Signatures>();
}

} // namespace grimsweep
