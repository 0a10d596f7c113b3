// The line code on any bytes: lengths kept, and a round trip in either direction changes only the pair
// the wrap merges; whole texts never fail.
#include "definitions/line_code.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace grimsweep;
    const auto text = fuzz::AsText(data, size);
    const std::string decoded = DecodeDefinitionLine(text);
    fuzz::Require(decoded.size() == text.size(), "decoding keeps the length");
    // The wrap by 255 merges 0 with 255 both ways: stored 0 and 255 decode alike, plain 0 and 255 encode
    // alike.
    std::string storedBack(text);
    std::string plainBack(text);
    for (std::size_t i = 0; i < text.size(); ++i) {
        storedBack[i] = text[i] == '\0' ? '\xFF' : text[i];
        plainBack[i] = text[i] == '\xFF' ? '\0' : text[i];
    }
    fuzz::Require(EncodeDefinitionLine(decoded) == storedBack, "encode(decode(x)) == x, 0 becoming 255");
    fuzz::Require(DecodeDefinitionLine(EncodeDefinitionLine(text)) == plainBack,
                  "decode(encode(x)) == x, 255 becoming 0");
    (void)EncodeDefinitionText(DecodeDefinitionText(text));
    return 0;
}
