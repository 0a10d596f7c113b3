// The scan's status line shows names taken from the machine (paths, registry keys); offensive words in
// them are removed before they are shown.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace grimsweep {

// Deleted in this order, so that a longer word goes before the shorter one inside it.
// clang-format off
inline constexpr std::array<std::string_view, 41> kMaskedWords{
    "motherfucking",
    "motherfucker",
    "dumbfuck",
    "fucking",
    "fucker",
    "fuck",
    "bullshit",
    "horseshit",
    "shithead",
    "shitface",
    "dipshit",
    "shit",
    "asshole",
    "arsehole",
    "jackass",
    "dumbass",
    "smartass",
    "bastard",
    "bitch",
    "dickhead",
    "knobhead",
    "cocksucker",
    "wanker",
    "tosser",
    "bollocks",
    "twat",
    "slut",
    "whore",
    "douchebag",
    "douche",
    "pussy",
    "goddamn",
    "scumbag",
    "dirtbag",
    "numbnuts",
    "bellend",
    "wazzock",
    "pillock",
    "nitwit",
    "imbecile",
    "moron",
};
// clang-format on

// The text with every occurrence of each masked word deleted, word by word in list order, without
// regard to ASCII case and also inside longer words. Every other byte is kept, so UTF-8 stays valid.
std::string MaskStatusText(std::string_view text);

} // namespace grimsweep
