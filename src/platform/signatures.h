// ECDSA signatures on the NIST P-256 curve with SHA-256, the platform's own cryptography: the service's
// key signs definition updates and the program checks them before applying anything.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace grimsweep {

// Raw forms, as both CNG and OpenSSL can import them: the private scalar d (32 bytes, big-endian), the
// public point uncompressed (0x04, X, Y: 65 bytes) and a signature as r followed by s (64 bytes).
inline constexpr std::size_t kP256PrivateKeyBytes = 32;
inline constexpr std::size_t kP256PublicKeyBytes = 65;
inline constexpr std::size_t kP256SignatureBytes = 64;

struct P256KeyPair {
    std::string privateKey;
    std::string publicKey;
};

class ISignatures {
public:
    virtual ~ISignatures() = default;

    // A fresh key pair from the system's random source; nothing when the platform cannot make one.
    virtual std::optional<P256KeyPair> MakeKeyPair() = 0;
    // The signature of SHA-256(message); nothing for a key pair that is not one.
    virtual std::optional<std::string> Sign(const P256KeyPair& key, std::string_view message) = 0;
    // Whether `signature` was made over SHA-256(message) with the private half of `publicKey`; false for
    // a malformed key or signature.
    virtual bool Verify(std::string_view publicKey, std::string_view message, std::string_view signature) = 0;
    // The SHA-256 digest of the bytes (32 bytes); nothing when the platform cannot compute it.
    virtual std::optional<std::string> Sha256(std::string_view bytes) = 0;
};

// The platform's implementation: CNG on Windows, OpenSSL elsewhere.
std::unique_ptr<ISignatures> MakePlatformSignatures();

} // namespace grimsweep
