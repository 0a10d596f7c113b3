#include "platform/openssl/openssl_signatures.h"

#include <openssl/bn.h>
#include <openssl/core_names.h>
#include <openssl/ecdsa.h>
#include <openssl/evp.h>
#include <openssl/param_build.h>

namespace grimsweep {

namespace {

template <typename T, void (*Free)(T*)> struct Owned {
    struct Deleter {
        void operator()(T* p) const { Free(p); }
    };
    using Ptr = std::unique_ptr<T, Deleter>;
};

using Key = Owned<EVP_PKEY, EVP_PKEY_free>::Ptr;
using KeyContext = Owned<EVP_PKEY_CTX, EVP_PKEY_CTX_free>::Ptr;
using DigestContext = Owned<EVP_MD_CTX, EVP_MD_CTX_free>::Ptr;
using Number = Owned<BIGNUM, BN_free>::Ptr;
using ParamBuilder = Owned<OSSL_PARAM_BLD, OSSL_PARAM_BLD_free>::Ptr;
using Params = Owned<OSSL_PARAM, OSSL_PARAM_free>::Ptr;
using Signature = Owned<ECDSA_SIG, ECDSA_SIG_free>::Ptr;

const unsigned char* Bytes(std::string_view text) {
    return reinterpret_cast<const unsigned char*>(text.data());
}

// The key from its raw parts; with an empty private part, the public key alone. The point must lie on
// the curve.
Key ImportKey(std::string_view publicKey, std::string_view privateKey) {
    if (publicKey.size() != kP256PublicKeyBytes || publicKey.front() != '\x04' ||
        (!privateKey.empty() && privateKey.size() != kP256PrivateKeyBytes)) {
        return nullptr;
    }
    ParamBuilder builder(OSSL_PARAM_BLD_new());
    Number scalar(privateKey.empty()
                      ? nullptr
                      : BN_bin2bn(Bytes(privateKey), static_cast<int>(privateKey.size()), nullptr));
    if (!builder || (!privateKey.empty() && !scalar) ||
        !OSSL_PARAM_BLD_push_utf8_string(builder.get(), OSSL_PKEY_PARAM_GROUP_NAME, "prime256v1", 0) ||
        !OSSL_PARAM_BLD_push_octet_string(builder.get(), OSSL_PKEY_PARAM_PUB_KEY, publicKey.data(),
                                          publicKey.size()) ||
        (scalar && !OSSL_PARAM_BLD_push_BN(builder.get(), OSSL_PKEY_PARAM_PRIV_KEY, scalar.get()))) {
        return nullptr;
    }
    Params params(OSSL_PARAM_BLD_to_param(builder.get()));
    KeyContext context(EVP_PKEY_CTX_new_from_name(nullptr, "EC", nullptr));
    EVP_PKEY* raw = nullptr;
    if (!params || !context || EVP_PKEY_fromdata_init(context.get()) != 1 ||
        EVP_PKEY_fromdata(context.get(), &raw, scalar ? EVP_PKEY_KEYPAIR : EVP_PKEY_PUBLIC_KEY,
                          params.get()) != 1) {
        return nullptr;
    }
    Key key(raw);
    KeyContext check(EVP_PKEY_CTX_new_from_pkey(nullptr, key.get(), nullptr));
    if (!check || EVP_PKEY_public_check(check.get()) != 1) {
        return nullptr;
    }
    return key;
}

std::string Padded(const BIGNUM* number) {
    std::string out(32, '\0');
    if (BN_bn2binpad(number, reinterpret_cast<unsigned char*>(out.data()), 32) != 32) {
        return {};
    }
    return out;
}

} // namespace

std::optional<P256KeyPair> OpenSslSignatures::MakeKeyPair() {
    Key key(EVP_PKEY_Q_keygen(nullptr, nullptr, "EC", "P-256"));
    BIGNUM* rawScalar = nullptr;
    if (!key || EVP_PKEY_get_bn_param(key.get(), OSSL_PKEY_PARAM_PRIV_KEY, &rawScalar) != 1) {
        return std::nullopt;
    }
    Number scalar(rawScalar);
    P256KeyPair pair;
    pair.privateKey = Padded(scalar.get());
    pair.publicKey.resize(kP256PublicKeyBytes);
    std::size_t length = 0;
    if (pair.privateKey.empty() ||
        EVP_PKEY_get_octet_string_param(key.get(), OSSL_PKEY_PARAM_ENCODED_PUBLIC_KEY,
                                        reinterpret_cast<unsigned char*>(pair.publicKey.data()),
                                        pair.publicKey.size(), &length) != 1 ||
        length != kP256PublicKeyBytes || pair.publicKey.front() != '\x04') {
        return std::nullopt;
    }
    return pair;
}

std::optional<std::string> OpenSslSignatures::Sign(const P256KeyPair& pair, std::string_view message) {
    if (pair.privateKey.empty()) {
        return std::nullopt;
    }
    const Key key = ImportKey(pair.publicKey, pair.privateKey);
    DigestContext digest(EVP_MD_CTX_new());
    std::size_t length = 0;
    if (!key || !digest || EVP_DigestSignInit(digest.get(), nullptr, EVP_sha256(), nullptr, key.get()) != 1 ||
        EVP_DigestSign(digest.get(), nullptr, &length, Bytes(message), message.size()) != 1) {
        return std::nullopt;
    }
    std::string der(length, '\0');
    if (EVP_DigestSign(digest.get(), reinterpret_cast<unsigned char*>(der.data()), &length, Bytes(message),
                       message.size()) != 1) {
        return std::nullopt;
    }
    // OpenSSL writes the DER sequence of r and s; the raw form is the two numbers side by side.
    const unsigned char* cursor = Bytes(der);
    const Signature signature(d2i_ECDSA_SIG(nullptr, &cursor, static_cast<long>(length)));
    if (!signature) {
        return std::nullopt;
    }
    const BIGNUM* r = nullptr;
    const BIGNUM* s = nullptr;
    ECDSA_SIG_get0(signature.get(), &r, &s);
    std::string raw = Padded(r) + Padded(s);
    if (raw.size() != kP256SignatureBytes) {
        return std::nullopt;
    }
    return raw;
}

bool OpenSslSignatures::Verify(std::string_view publicKey, std::string_view message,
                               std::string_view signature) {
    if (signature.size() != kP256SignatureBytes) {
        return false;
    }
    const Key key = ImportKey(publicKey, {});
    Signature parts(ECDSA_SIG_new());
    Number r(BN_bin2bn(Bytes(signature), 32, nullptr));
    Number s(BN_bin2bn(Bytes(signature.substr(32)), 32, nullptr));
    if (!key || !parts || !r || !s || ECDSA_SIG_set0(parts.get(), r.get(), s.get()) != 1) {
        return false;
    }
    r.release(); // the signature owns them now
    s.release();
    unsigned char* der = nullptr;
    const int length = i2d_ECDSA_SIG(parts.get(), &der);
    if (length <= 0) {
        return false;
    }
    const std::string derText(reinterpret_cast<const char*>(der), static_cast<std::size_t>(length));
    OPENSSL_free(der);
    DigestContext digest(EVP_MD_CTX_new());
    return digest && EVP_DigestVerifyInit(digest.get(), nullptr, EVP_sha256(), nullptr, key.get()) == 1 &&
           EVP_DigestVerify(digest.get(), Bytes(derText), derText.size(), Bytes(message), message.size()) ==
               1;
}

std::optional<std::string> OpenSslSignatures::Sha256(std::string_view bytes) {
    std::string digest(EVP_MAX_MD_SIZE, '\0');
    unsigned int length = 0;
    if (EVP_Digest(bytes.data(), bytes.size(), reinterpret_cast<unsigned char*>(digest.data()), &length,
                   EVP_sha256(), nullptr) != 1) {
        return std::nullopt;
    }
    digest.resize(length);
    return digest;
}

std::unique_ptr<ISignatures> MakePlatformSignatures() {
    return std::make_unique<OpenSslSignatures>();
}

} // namespace grimsweep
