// ECDSA P-256 signatures through OpenSSL (libcrypto): gsdefs and the simulated machine on Linux.
#pragma once

#include "platform/signatures.h"

namespace grimsweep {

class OpenSslSignatures : public ISignatures {
public:
    std::optional<P256KeyPair> MakeKeyPair() override;
    std::optional<std::string> Sign(const P256KeyPair& key, std::string_view message) override;
    bool Verify(std::string_view publicKey, std::string_view message, std::string_view signature) override;
    std::optional<std::string> Sha256(std::string_view bytes) override;
};

} // namespace grimsweep
