#include "definitions/definition_status.h"

#include <algorithm>
#include <array>
#include <limits>

#include "common/case_folding.h"
#include "common/text.h"
#include "core/context.h"
#include "definitions/definition_files.h"
#include "platform/text_files.h"

namespace grimsweep {

namespace {

std::string InFolder(std::string_view folder, std::string_view name) {
    return std::string(folder) + "\\" + std::string(name);
}

} // namespace

int FillFromSharedDefinitions(IFileSystem& files, std::string_view dataFolder,
                              std::string_view sharedFolder) {
    for (const auto& file : kDefinitionFiles) {
        if (FileExists(files, InFolder(dataFolder, file.name))) {
            return 0;
        }
    }
    files.CreateFolder(std::string(dataFolder));
    int copied = 0;
    for (const auto& file : kDefinitionFiles) {
        const std::string shipped = InFolder(sharedFolder, file.name);
        if (FileExists(files, shipped) && files.CopyFile(shipped, InFolder(dataFolder, file.name), true)) {
            ++copied;
        }
    }
    return copied;
}

int InstallPendingDefinitions(IFileSystem& files, std::string_view dataFolder) {
    // DirectoryDefinition.dat and Safety.dat have no pending copy.
    constexpr std::array<std::string_view, 4> kInstalled = {kBlockedCookiesFile, kRegistryDefinitionFile,
                                                            kFileDefinitionFile, kExeDefinitionFile};
    int installed = 0;
    for (const auto name : kInstalled) {
        const std::string current = InFolder(dataFolder, name);
        const std::string pending = InFolder(dataFolder, std::string(kPendingPrefix) + std::string(name));
        if (FileExists(files, pending) && files.MoveFile(pending, current, true)) {
            ++installed;
        }
    }
    return installed;
}

std::int32_t CountDefinitionLines(std::string_view bytes) {
    const std::size_t lines = SplitLines(bytes).size();
    return static_cast<std::int32_t>(std::min<std::size_t>(lines, std::numeric_limits<std::int32_t>::max()));
}

DefinitionCounts CountDefinitions(IFileSystem& files, std::string_view dataFolder) {
    return CountDefinitionsWith([&](std::string_view name) -> std::optional<std::string> {
        const std::string path = InFolder(dataFolder, name);
        return FileExists(files, path) ? files.ReadFile(path) : std::nullopt;
    });
}

DefinitionCounts
CountDefinitionsWith(const std::function<std::optional<std::string>(std::string_view)>& readFile) {
    const auto count = [&](std::string_view name) -> std::int64_t {
        const auto bytes = readFile(name);
        return bytes ? CountDefinitionLines(*bytes) : 0;
    };
    const std::int64_t maximum = std::numeric_limits<std::int32_t>::max();
    const auto clamp = [&](std::int64_t value) {
        return static_cast<std::int32_t>(std::min(value, maximum));
    };
    const std::int64_t cookies = count(kBlockedCookiesFile);
    const std::int64_t executables = count(kExeDefinitionFile);
    const std::int64_t registry = count(kRegistryDefinitionFile);
    const std::int64_t filesAndFolders = count(kFileDefinitionFile) + count(kDirectoryDefinitionFile);

    DefinitionCounts counts;
    counts.cookies = clamp(cookies);
    counts.executables = clamp(executables);
    counts.registry = clamp(registry);
    counts.filesAndFolders = clamp(filesAndFolders);
    counts.total = clamp(cookies + executables + registry + filesAndFolders);
    return counts;
}

bool DefinitionFilesPresent(Context& context, std::string& defVersionCaption) {
    constexpr std::array<std::string_view, 5> kRequired = {kFileDefinitionFile, kRegistryDefinitionFile,
                                                           kExeDefinitionFile, kBlockedCookiesFile,
                                                           kDirectoryDefinitionFile};
    for (const auto name : kRequired) {
        if (!FileExists(context.machine.files, context.DataFile(name))) {
            defVersionCaption = context.messages.getMessages(kMsgMissingFiles);
            return false;
        }
    }
    return true;
}

std::string ReadDefinitionsDate(IFileSystem& files, ISystem& system, std::string_view dataFolder) {
    const std::string path = InFolder(dataFolder, kDefinitionsDateFile);
    if (FileExists(files, path)) {
        // An unreadable or empty file has no first line; the default date stands in for it.
        if (auto lines = ReadTextLines(files, system, path); lines && !lines->empty()) {
            return lines->front();
        }
    }
    return std::string(kDefaultDefinitionsDate);
}

bool WriteDefinitionsDate(IFileSystem& files, ISystem& system, std::string_view dataFolder,
                          std::string_view date) {
    return ReplaceFileContents(files, InFolder(dataFolder, kDefinitionsDateFile),
                               EncodeTextLines(system, {std::string(date)}));
}

} // namespace grimsweep
