// Places a removal must never delete, whatever a definition says and however it spells them: drive roots;
// the Windows folder, the system folders and every folder directly inside them; every special folder the
// shell knows (program folders, Fonts, Temp, Cookies, History, Start Menu, the profile with its documents
// and desktop, ...); the users' root and every profile in it; the program's own folders with everything in
// them; and every folder above any of these. Files inside protected folders stay removable.
//
// Paths are judged in their canonical form and, where they exist, also where their links lead: a
// definition that reaches System32 through a junction is judged as System32.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace grimsweep {

class Context;

// The problem list's words for what the removal refused to touch.
inline constexpr std::string_view kProtectedLocationReason = "protected Windows location, not removed";
inline constexpr std::string_view kNotLocalReason = "not a path on this computer's drives, not touched";

class ProtectedLocations {
public:
    // Looks the system's folders up once.
    explicit ProtectedLocations(Context& context);

    // Why the path may not be backed up or deleted, or nothing when it may.
    std::optional<std::string_view> Refusal(const std::string& path) const;
    bool Protects(const std::string& path) const { return Refusal(path).has_value(); }

private:
    bool ProtectsComparable(const std::string& comparable, bool folder) const;
    void AddFolder(const std::string& path);

    IFileSystem& files_;
    std::vector<std::string> folders_;    // comparable: protected, with every folder above them
    std::vector<std::string> parents_;    // comparable: every folder directly inside them is protected
    std::vector<std::string> wholeTrees_; // comparable: protected with everything inside them
};

} // namespace grimsweep
