// The six definition files in the data folder and what each one holds.
#pragma once

#include <array>
#include <string_view>

namespace grimsweep {

inline constexpr std::string_view kFileDefinitionFile = "FileDefinition.dat";
inline constexpr std::string_view kDirectoryDefinitionFile = "DirectoryDefinition.dat";
inline constexpr std::string_view kRegistryDefinitionFile = "RegistryDefinition.dat";
inline constexpr std::string_view kExeDefinitionFile = "ExeDefinition.dat";
inline constexpr std::string_view kBlockedCookiesFile = "BlockedCookies.dat";
inline constexpr std::string_view kSafetyFile = "Safety.dat";

enum class DefinitionKind { Files, Directories, Registry, Executables, Cookies, Safety };

struct DefinitionFile {
    DefinitionKind kind;
    std::string_view name;
};

inline constexpr std::array<DefinitionFile, 6> kDefinitionFiles = {{
    {DefinitionKind::Files, kFileDefinitionFile},
    {DefinitionKind::Directories, kDirectoryDefinitionFile},
    {DefinitionKind::Registry, kRegistryDefinitionFile},
    {DefinitionKind::Executables, kExeDefinitionFile},
    {DefinitionKind::Cookies, kBlockedCookiesFile},
    {DefinitionKind::Safety, kSafetyFile},
}};

} // namespace grimsweep
