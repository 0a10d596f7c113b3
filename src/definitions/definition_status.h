// Presence, installation, counts and date of the definition files: start-up installs pending downloads
// and counts the definitions; every scan first checks that the five scanned files are present.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/file_presence.h"
#include "platform/file_system.h"
#include "platform/system.h"

namespace grimsweep {

class Context;

// A downloaded replacement waiting to be installed is named this prefix and the file's name.
inline constexpr std::string_view kPendingPrefix = "DL";
inline constexpr std::string_view kDefinitionsDateFile = "date.dat";
// Shown until the first Live Update writes a date.
inline constexpr std::string_view kDefaultDefinitionsDate = "3/16/2006 12:00:00 AM";
inline constexpr std::string_view kMsgMissingFiles = "MSG_MISSINGFILES";

// The folder beside the programs where the installer puts the shipped definitions, for every user of the
// machine.
inline constexpr std::string_view kSharedDefinitionsFolder = "Definitions";

// A data folder that holds none of the six definition files (a user's first start on a machine where
// another user installed the program) gets the shipped copies from `sharedFolder`. A data folder holding
// any of them is left alone: what Live Update brought is newer. Returns how many files were copied.
int FillFromSharedDefinitions(IFileSystem& files, std::string_view dataFolder, std::string_view sharedFolder);

// Moves every pending "DL" copy over its definition file in one step, so that a failure leaves the old
// file in place. Returns how many files were installed.
int InstallPendingDefinitions(IFileSystem& files, std::string_view dataFolder);

struct DefinitionCounts {
    std::int32_t cookies = 0;
    std::int32_t executables = 0;
    std::int32_t registry = 0;
    std::int32_t filesAndFolders = 0;
    std::int32_t total = 0;
};

// Lines in a definition file's bytes, blank ones included (the line ends of SplitLines).
std::int32_t CountDefinitionLines(std::string_view bytes);
// Counts the lines of the five scanned files; a missing file counts 0.
DefinitionCounts CountDefinitions(IFileSystem& files, std::string_view dataFolder);
// The same over any store: `readFile` gives a file's bytes by name, or nothing when it is missing.
DefinitionCounts
CountDefinitionsWith(const std::function<std::optional<std::string>(std::string_view)>& readFile);

// True when all five scanned files are present. Otherwise sets `defVersionCaption` (the Status panel's
// definitions-date label) to the missing-files text and returns false.
bool DefinitionFilesPresent(Context& context, std::string& defVersionCaption);

// The first line of date.dat, or the default date when there is none.
std::string ReadDefinitionsDate(IFileSystem& files, ISystem& system, std::string_view dataFolder);
// Replaces date.dat in one step; false (and the old date kept) when that fails.
bool WriteDefinitionsDate(IFileSystem& files, ISystem& system, std::string_view dataFolder,
                          std::string_view date);

} // namespace grimsweep
