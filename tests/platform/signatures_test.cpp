// The platform's ECDSA P-256 signatures: OpenSSL natively, CNG in the Windows build under Wine. Each
// build also verifies a signature the other one made, so that gsdefs on either system signs what the
// program on the other accepts.
#include "platform/signatures.h"

#include <gtest/gtest.h>

#include "common/hex_text.h"

namespace grimsweep {
namespace {

struct MadeElsewhere {
    const char* by;
    const char* publicKey;
    const char* signature;
};

constexpr std::string_view kVectorMessage =
    "Grimsweep definitions\nfrom=\nuntil=9/1/2006 4:00:00 PM\nto=9/1/2006 4:00:00 PM\nrecords";

constexpr MadeElsewhere kMadeElsewhere[] = {
    {"OpenSSL 3.0",
     "04827d5efc951f18c8badf679e8f7ead153bdca8c63e3dc87e54f8db778f38365d28ad99a657b8d6bcca1e966975be24b110dd5"
     "c"
     "69d6214be99deefb1ccbb1c4d2",
     "6e3e40fb872ea90fbc8fc49b17852b54f17a2786dc7217e25c819eee3d94a117f762fd326f5fba360c5481836c986baaf32aa97"
     "f"
     "2ef3318c6f97167734c14865"},
    {"CNG under Wine 8",
     "0499fe9bae279ca2e1c42a08c074d4ff53f4562b30802c9e878eb5371519e0f8176e704d2a047c11439d17e6e07a16a61954cba"
     "5"
     "455044e8e3d2773e05a6a8dcdc",
     "60705e07c04461232add95c1aafa43b2507c20f9fc87421f95c08f91c0cce11ebe1a8d2d73247129541ce6c75c5cb40e3ab701b"
     "1"
     "7cc06e6c9c6a4a9f4f878017"},
};

std::string Flipped(std::string bytes, std::size_t at) {
    bytes[at] = static_cast<char>(bytes[at] ^ 0x01);
    return bytes;
}

TEST(Signatures, OnlyTheExactMessageUnderItsOwnKeyVerifies) {
    const auto signatures = MakePlatformSignatures();
    const auto pair = signatures->MakeKeyPair();
    const auto other = signatures->MakeKeyPair();
    ASSERT_TRUE(pair && other);
    ASSERT_EQ(pair->privateKey.size(), kP256PrivateKeyBytes);
    ASSERT_EQ(pair->publicKey.size(), kP256PublicKeyBytes);
    const std::string message = "from=\nuntil=\nto=9/1/2006\nEXE|ADD[DEF]gloomupd.exe";
    const auto signature = signatures->Sign(*pair, message);
    ASSERT_TRUE(signature);
    ASSERT_EQ(signature->size(), kP256SignatureBytes);

    EXPECT_TRUE(signatures->Verify(pair->publicKey, message, *signature));
    EXPECT_FALSE(signatures->Verify(other->publicKey, message, *signature)) << "another key";
    EXPECT_FALSE(signatures->Verify(pair->publicKey, Flipped(message, 20), *signature)) << "a byte changed";
    EXPECT_FALSE(signatures->Verify(pair->publicKey, message + " ", *signature)) << "a byte more";
    EXPECT_FALSE(signatures->Verify(pair->publicKey, message, Flipped(*signature, 40)))
        << "signature changed";
    EXPECT_FALSE(signatures->Verify(pair->publicKey, message, signature->substr(1))) << "signature cut";
    EXPECT_FALSE(signatures->Verify(pair->publicKey, message, std::string(64, '\0'))) << "zero signature";
    EXPECT_FALSE(signatures->Verify(pair->publicKey.substr(1), message, *signature)) << "key cut";
    EXPECT_FALSE(signatures->Verify(Flipped(pair->publicKey, 64), message, *signature))
        << "point off the curve";
    EXPECT_FALSE(signatures->Sign(P256KeyPair{"", pair->publicKey}, message)) << "no private key";
    EXPECT_FALSE(signatures->Sign(P256KeyPair{pair->privateKey, "x"}, message)) << "no public key";

    for (const MadeElsewhere& made : kMadeElsewhere) {
        const std::string key = BytesOfHex(made.publicKey).value_or("");
        const std::string signed_ = BytesOfHex(made.signature).value_or("");
        EXPECT_TRUE(signatures->Verify(key, kVectorMessage, signed_)) << made.by;
        EXPECT_FALSE(signatures->Verify(key, std::string(kVectorMessage) + "x", signed_)) << made.by;
    }
}

TEST(Signatures, Sha256OfTheStandardVectors) {
    const auto signatures = MakePlatformSignatures();
    EXPECT_EQ(HexText(signatures->Sha256("").value_or("")),
              "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(HexText(signatures->Sha256("abc").value_or("")),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

TEST(HexText, BytesAndBack) {
    EXPECT_EQ(HexText(std::string("\x00\x7f\xff\x10", 4)), "007fff10");
    EXPECT_EQ(BytesOfHex("007FfF10"), std::string("\x00\x7f\xff\x10", 4));
    for (const char* bad : {"0", "0g", "00 ", "+1"}) {
        EXPECT_FALSE(BytesOfHex(bad)) << bad;
    }
}

} // namespace
} // namespace grimsweep
