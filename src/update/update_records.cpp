#include "update/update_records.h"

#include <array>

#include "common/text.h"
#include "core/context.h"
#include "definitions/definition_files.h"
#include "definitions/line_code.h"
#include "ui/control.h"

namespace grimsweep {

namespace {

constexpr std::array<std::string_view, 6> kFileOrder = {kFileDefinitionFile,      kExeDefinitionFile,
                                                        kRegistryDefinitionFile,  kBlockedCookiesFile,
                                                        kDirectoryDefinitionFile, kSafetyFile};

// The body with its plain separators in their stored form.
std::string EncodeSeparators(std::string_view body) {
    const std::string bar = EncodeDefinitionLine("|");
    const std::string equals = EncodeDefinitionLine("=");
    std::string out;
    out.reserve(body.size());
    for (char c : body) {
        if (c == '|') {
            out += bar;
        } else if (c == '=') {
            out += equals;
        } else {
            out += c;
        }
    }
    return out;
}

// A record body in plain text: every byte decoded except the plain separators "|" and "=".
std::string DecodeBody(std::string_view body) {
    std::string plain;
    plain.reserve(body.size());
    std::size_t start = 0;
    while (start < body.size()) {
        const std::size_t separator = body.find_first_of("|=", start);
        const std::size_t end = separator == std::string_view::npos ? body.size() : separator;
        plain += DecodeDefinitionLine(body.substr(start, end - start));
        if (end < body.size()) {
            plain += body[end];
        }
        start = end + 1;
    }
    return plain;
}

// The part of a text before its first "=" (the whole text without one).
std::string_view NameOf(std::string_view text) {
    return text.substr(0, text.find('='));
}

void ShowStatus(Context& context, ui::Control* status, const std::string& text) {
    if (status) {
        status->SetCaption(text);
    }
    context.host.PumpMessages();
}

// Copies the file without the lines whose name is one of `names` (and without empty lines), then puts
// the copy in the file's place in one step, so that a failure never leaves the file missing.
bool RewriteWithout(Context& context, const std::string& path, const std::vector<std::string>& names,
                    ui::Control* status) {
    IFileSystem& files = context.machine.files;
    const auto stored = files.ReadFile(path);
    if (!stored) {
        return false;
    }
    std::string kept;
    int lineNumber = 0;
    std::size_t start = 0;
    while (start < stored->size()) {
        std::size_t end = stored->find('\n', start);
        if (end == std::string::npos) {
            end = stored->size();
        }
        std::string_view line(stored->data() + start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        ++lineNumber;
        if (lineNumber % kRewriteStatusEvery == 0) {
            ShowStatus(context, status, std::string(kRemovingStatus) + std::to_string(lineNumber));
        }
        if (line.empty()) {
            continue;
        }
        const std::string decoded = DecodeDefinitionLine(line);
        bool dropped = false;
        for (const std::string& name : names) {
            if (EqualsIgnoreCase(NameOf(decoded), name)) {
                dropped = true;
                break;
            }
        }
        if (!dropped) {
            kept.append(line).append("\r\n");
        }
    }
    const std::string temporary = context.DataFile(kTemporaryDefinitionFile);
    if (!files.WriteFile(temporary, kept)) {
        return false;
    }
    if (!files.MoveFile(temporary, path, true)) {
        files.DeleteFile(temporary);
        return false;
    }
    return true;
}

} // namespace

std::vector<UpdateRecord> ParseUpdateRecords(std::string_view text) {
    std::vector<UpdateRecord> records;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = FindIgnoreCase(text, kRecordSeparator, start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string piece = Trim(text.substr(start, end - start));
        start = end + kRecordSeparator.size();
        const std::size_t marker = piece.find(kDefinitionMarker);
        if (piece.empty() || marker == std::string::npos) {
            continue;
        }
        const std::string_view header(piece.data(), marker);
        const std::size_t bar = header.find('|');
        if (bar == std::string_view::npos) {
            continue; // no action field
        }
        const std::string_view rest = header.substr(bar + 1);
        UpdateRecord record;
        record.kind = DecodeDefinitionLine(header.substr(0, bar));
        record.action = std::string(rest.substr(0, rest.find('|')));
        record.body = piece.substr(marker + kDefinitionMarker.size());
        records.push_back(std::move(record));
    }
    return records;
}

bool RecordBelongsTo(std::string_view kind, std::string_view file) {
    if (file == kFileDefinitionFile) {
        return kind == "FILE" || kind == "EXE" || kind == "DLL";
    }
    if (file == kExeDefinitionFile) {
        return kind == "EXE";
    }
    if (file == kRegistryDefinitionFile) {
        return kind == "REG";
    }
    if (file == kBlockedCookiesFile) {
        return kind == "COOK";
    }
    if (file == kDirectoryDefinitionFile) {
        return kind == "DIR";
    }
    if (file == kSafetyFile) {
        return kind.find_first_of("sS") != std::string_view::npos;
    }
    return false;
}

std::string StoredLineFor(const UpdateRecord& record, std::string_view file) {
    if (!RecordBelongsTo(record.kind, file)) {
        return {};
    }
    if (file == kRegistryDefinitionFile) {
        // name "=" threat "|" key specification "|" details -> key specification "^=" threat "|" details
        const std::vector<std::string> fields = Split(record.body, "|");
        const std::string first = fields.empty() ? std::string() : fields[0];
        const std::size_t equals = first.find('=');
        const std::string threat = equals == std::string::npos ? std::string() : first.substr(equals + 1);
        return (fields.size() > 1 ? fields[1] : std::string()) + EncodeDefinitionLine("^=") + threat +
               EncodeDefinitionLine("|") + (fields.size() > 2 ? fields[2] : std::string());
    }
    if (file == kBlockedCookiesFile) {
        return std::string(NameOf(record.body));
    }
    if (file == kSafetyFile) {
        return EncodeDefinitionLine(record.kind + "|") + EncodeSeparators(record.body);
    }
    return EncodeSeparators(record.body);
}

int ApplyUpdateRecords(Context& context, std::string_view updateText, ui::Control* status) {
    IFileSystem& files = context.machine.files;
    const std::vector<UpdateRecord> records = ParseUpdateRecords(updateText);
    int changes = 0;
    for (std::string_view file : kFileOrder) {
        const std::string path = context.DataFile(file);
        // Opening for appending creates the file when it is missing.
        if (!files.AppendFile(path, "")) {
            return changes;
        }
        std::vector<std::string> pending; // decoded names of the DEL records met so far
        for (const UpdateRecord& record : records) {
            if (!RecordBelongsTo(record.kind, file)) {
                continue;
            }
            if (record.action == kActionAdd) {
                if (!files.AppendFile(path, StoredLineFor(record, file) + "\r\n")) {
                    return changes;
                }
                ++changes;
                if (record.body.find('=') != std::string::npos) {
                    // An ADD cancels an earlier DEL that was sent as its bare name.
                    const std::string name = DecodeBody(NameOf(record.body));
                    std::erase_if(pending, [&](const std::string& deletion) {
                        return EqualsIgnoreCase(deletion, name);
                    });
                }
            } else if (record.action == kActionDelete) {
                pending.push_back(DecodeBody(record.body));
            }
        }
        ShowStatus(context, status, std::string(kApplyingStatus));
        if (pending.empty()) {
            continue;
        }
        ++changes;
        std::vector<std::string> names;
        for (const std::string& deletion : pending) {
            names.emplace_back(NameOf(deletion));
        }
        if (!RewriteWithout(context, path, names, status)) {
            return changes;
        }
    }
    return changes;
}

} // namespace grimsweep
