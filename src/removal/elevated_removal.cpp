#include "removal/elevated_removal.h"

#include <array>
#include <utility>

#include "common/hex_text.h"
#include "common/percent_encoding.h"
#include "common/text.h"
#include "core/context.h"

namespace grimsweep {

namespace {

constexpr std::string_view kFirstLine = "Grimsweep removal job";
constexpr std::string_view kDataTag = "data";
constexpr std::string_view kRowTag = "row";
constexpr char kSeparator = '\t';
constexpr std::array<std::pair<JobList, std::string_view>, 4> kListNames = {{
    {JobList::Files, "files"},
    {JobList::Registry, "registry"},
    {JobList::Cookies, "cookies"},
    {JobList::Removal, "removal"},
}};

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

} // namespace

std::string RemovalJobText(const RemovalJob& job) {
    std::string text = std::string(kFirstLine) + "\r\n" + std::string(kDataTag) + kSeparator +
                       PercentEncode(job.dataFolder) + "\r\n";
    for (const JobRow& entry : job.rows) {
        std::string_view list;
        for (const auto& [value, name] : kListNames) {
            if (value == entry.list) {
                list = name;
            }
        }
        text += std::string(kRowTag) + kSeparator + std::string(list) + kSeparator +
                std::to_string(entry.row.smallIcon) + kSeparator + PercentEncode(entry.row.text);
        for (const std::string& cell : entry.row.subItems) {
            text += kSeparator + PercentEncode(cell);
        }
        text += "\r\n";
    }
    return text;
}

std::optional<RemovalJob> ParseRemovalJob(std::string_view text) {
    RemovalJob job;
    bool first = true;
    bool data = false;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        end = end == std::string_view::npos ? text.size() : end;
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (first) {
            if (line != kFirstLine) {
                return std::nullopt;
            }
            first = false;
            continue;
        }
        const std::vector<std::string> fields = Split(line, std::string_view(&kSeparator, 1));
        if (fields.empty()) {
            return std::nullopt;
        }
        if (fields[0] == kDataTag && fields.size() == 2) {
            const auto folder = PercentDecode(fields[1]);
            if (!folder || folder->empty()) {
                return std::nullopt;
            }
            job.dataFolder = *folder;
            data = true;
            continue;
        }
        if (fields[0] != kRowTag || fields.size() < 4) {
            return std::nullopt;
        }
        JobRow entry;
        bool known = false;
        for (const auto& [value, name] : kListNames) {
            if (name == fields[1]) {
                entry.list = value;
                known = true;
            }
        }
        const std::string icon(fields[2]);
        if (!known || icon.empty() || icon.size() > 2 ||
            icon.find_first_not_of("0123456789") != std::string::npos) {
            return std::nullopt;
        }
        entry.row.smallIcon = std::stoi(icon);
        entry.row.checked = true;
        for (std::size_t i = 3; i < fields.size(); ++i) {
            const auto cell = PercentDecode(fields[i]);
            if (!cell) {
                return std::nullopt;
            }
            if (i == 3) {
                entry.row.text = *cell;
            } else {
                entry.row.subItems.push_back(*cell);
            }
        }
        job.rows.push_back(std::move(entry));
    }
    if (!data) {
        return std::nullopt;
    }
    return job;
}

ElevatedRemovalResult RunRemovalAsAdministrator(Context& context, const RemovalJob& job) {
    const std::string text = RemovalJobText(job);
    const auto digest = context.machine.signatures.Sha256(text);
    const std::string path = context.DataFile(kElevatedRemovalJobName);
    IFileSystem& files = context.machine.files;
    if (!digest || !files.WriteFile(path, text) || files.ReadFile(path) != text) {
        return ElevatedRemovalResult::Failed;
    }
    const std::string program = context.ApplicationFile(kConsoleProgramName);
    const ElevatedRun run = context.machine.shell.RunAsAdministrator(
        program, std::string(kRemoveListedCommand) + " " + Quoted(path) + " " + HexText(*digest),
        [&context] { context.host.PumpMessages(); });
    files.DeleteFile(path);
    switch (run.status) {
    case ElevatedRunStatus::Finished:
        return run.exitCode == kRemovalJobRefused ? ElevatedRemovalResult::Failed
                                                  : ElevatedRemovalResult::Ran;
    case ElevatedRunStatus::Declined:
        return ElevatedRemovalResult::Declined;
    case ElevatedRunStatus::Failed:
        break;
    }
    return ElevatedRemovalResult::Failed;
}

std::optional<RemovalJob> ReadCheckedRemovalJob(Context& context, const std::string& path,
                                                std::string_view digestHex) {
    const auto text = context.machine.files.ReadFile(path);
    const auto expected = BytesOfHex(digestHex);
    if (!text || !expected) {
        return std::nullopt;
    }
    const auto digest = context.machine.signatures.Sha256(*text);
    if (!digest || *digest != *expected) {
        return std::nullopt;
    }
    return ParseRemovalJob(*text);
}

} // namespace grimsweep
