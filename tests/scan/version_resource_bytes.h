// Program-file bytes with a hand-made version resource, as a resource compiler lays one out, for tests
// of the company-name rules and of the scans that skip Microsoft files.
#pragma once

#include <string>
#include <string_view>

namespace grimsweep::version_bytes {

using namespace std::string_literals;

inline std::string Utf16(std::string_view text) {
    std::string out;
    for (const char c : text) {
        out += c;
        out += '\0';
    }
    return out;
}

// A String block: length, value length, type 1, the key with its terminator, padding to four bytes,
// the value with its terminator, padding.
inline std::string StringBlock(std::string_view key, std::string_view value) {
    std::string block = "\x40\x00\x0a\x00\x01\x00"s + Utf16(key) + "\0\0"s;
    block.resize((block.size() + 3) / 4 * 4, '\0');
    block += Utf16(value) + "\0\0"s;
    block.resize((block.size() + 3) / 4 * 4, '\0');
    return block;
}

// A program file whose wide StringFileInfo names `company`.
inline std::string WideResource(std::string_view company) {
    return "MZ\x90\0garbage"s + "\x80\x01\x00\x00\x01\x00"s + Utf16("StringFileInfo") + "\0\0"s +
           "\x60\0\0\0\x01\0"s + Utf16("040904b0") + "\0\0"s + StringBlock("CompanyName", company) +
           StringBlock("FileDescription", "Lantern tool") + StringBlock("ProductName", "Grimsweep") +
           "\0\0\0\0tail"s;
}

} // namespace grimsweep::version_bytes
