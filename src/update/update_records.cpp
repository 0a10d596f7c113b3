#include "update/update_records.h"

#include <algorithm>
#include <array>
#include <unordered_map>
#include <utility>

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
    static const std::string bar = EncodeDefinitionLine("|");
    static const std::string equals = EncodeDefinitionLine("=");
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

// Codes every byte of a body but its plain separators "|" and "=", one way or the other.
std::string CodeBodyKeepingSeparators(std::string_view body, std::string (*code)(std::string_view)) {
    std::string out;
    out.reserve(body.size());
    std::size_t start = 0;
    while (start < body.size()) {
        const std::size_t separator = body.find_first_of("|=", start);
        const std::size_t end = separator == std::string_view::npos ? body.size() : separator;
        out += code(body.substr(start, end - start));
        if (end < body.size()) {
            out += body[end];
        }
        start = end + 1;
    }
    return out;
}

// The part of a text before its first "=" (the whole text without one).
std::string_view NameOf(std::string_view text) {
    return text.substr(0, text.find('='));
}

// Every stored byte decoded and then folded to lower case: the line code works byte by byte, so names
// are read through this table instead of decoding whole texts.
std::array<char, 256> DecodedLowerCaseBytes() {
    std::string every(256, '\0');
    for (int byte = 0; byte < 256; ++byte) {
        every[byte] = static_cast<char>(byte);
    }
    const std::string decoded = DecodeDefinitionLine(every);
    std::array<char, 256> folded{};
    for (int byte = 0; byte < 256; ++byte) {
        folded[byte] = ToLowerAscii(decoded[byte]);
    }
    return folded;
}

// A record body in plain text and lower case, the form in which deletions and names are compared: every
// byte decoded except the plain separators "|" and "=", then folded.
std::string FoldedBody(std::string_view body) {
    static const std::array<char, 256> table = [] {
        std::array<char, 256> folded = DecodedLowerCaseBytes();
        folded['|'] = '|';
        folded['='] = '=';
        return folded;
    }();
    std::string out(body.size(), '\0');
    for (std::size_t i = 0; i < body.size(); ++i) {
        out[i] = table[static_cast<unsigned char>(body[i])];
    }
    return out;
}

// The next "[BR]", in any case, at or after `from`: its "[" has no case, so the search runs from one
// "[" to the next.
std::size_t FindRecordSeparator(std::string_view text, std::size_t from) {
    for (std::size_t at = text.find('[', from); at != std::string_view::npos; at = text.find('[', at + 1)) {
        if (EqualsIgnoreCase(text.substr(at, kRecordSeparator.size()), kRecordSeparator)) {
            return at;
        }
    }
    return std::string_view::npos;
}

// The text without its leading and trailing blanks, as Trim gives it, without a copy.
std::string_view TrimmedView(std::string_view text) {
    const std::size_t begin = text.find_first_not_of(' ');
    if (begin == std::string_view::npos) {
        return {};
    }
    return text.substr(begin, text.find_last_not_of(' ') - begin + 1);
}

void ShowStatus(Context& context, ui::Control* status, const std::string& text) {
    if (status) {
        status->SetCaption(text);
    }
    context.host.PumpMessages();
}

// Reads the names of stored lines without decoding whole lines: the byte that stands for "=" is found in
// the stored form, and the name before it is folded byte by byte through a table.
class StoredNameReader {
public:
    StoredNameReader() : equals_(EncodeDefinitionLine("=").front()), fold_(DecodedLowerCaseBytes()) {}
    // The stored name's length (in bytes, the same plain or stored).
    std::size_t NameLength(std::string_view line) const {
        const std::size_t end = line.find(equals_);
        return end == std::string_view::npos ? line.size() : end;
    }
    // The plain name of the first `length` bytes, lower case, into `out`.
    void Fold(std::string_view line, std::size_t length, std::string& out) const {
        out.resize(length);
        for (std::size_t i = 0; i < length; ++i) {
            out[i] = fold_[static_cast<unsigned char>(line[i])];
        }
    }

private:
    char equals_;
    std::array<char, 256> fold_;
};

// One definition file: what it holds now and what it will hold after the update.
struct FileUpdate {
    std::string path;
    bool existed = false;
    std::string original;
    std::string updated;
    bool changed = false;
};

// A line added by the update, with the place of its record in the update text.
struct AddedLine {
    std::string stored;
    std::size_t order;
};

// The deletions still pending for one file, indexed by their plain text in lower case (FoldedBody): an
// ADD finds the deletions it cancels (those whose whole text is its name) with one look-up, not a pass
// over the list. A deletion removes the lines present before its record.
class PendingDeletions {
public:
    void Add(std::string foldedText, std::size_t order) {
        Deletions& same = byText_[std::move(foldedText)];
        ++same.count;
        same.last = std::max(same.last, order + 1);
        ++count_;
    }
    void CancelName(const std::string& foldedName) {
        const auto same = byText_.find(foldedName);
        if (same != byText_.end()) {
            count_ -= same->second.count;
            byText_.erase(same);
        }
    }
    bool Empty() const { return count_ == 0; }
    // Lower-case name (the text before its first "=") -> one past the place of its last deletion.
    std::unordered_map<std::string, std::size_t> LastByName() const {
        std::unordered_map<std::string, std::size_t> last;
        last.reserve(byText_.size());
        for (const auto& [text, same] : byText_) {
            std::size_t& order = last[std::string(NameOf(text))];
            order = std::max(order, same.last);
        }
        return last;
    }

private:
    struct Deletions {
        std::size_t count = 0;
        std::size_t last = 0; // one past the place of the last of them
    };
    std::unordered_map<std::string, Deletions> byText_;
    std::size_t count_ = 0;
};

// The lines an update adds, to find those the file holds already: an update sent again (a static service
// sends every record to a client whose date it cannot place) must not double them.
class AddedTexts {
public:
    explicit AddedTexts(const std::vector<AddedLine>& added) : marks_(kMarks) {
        held_.reserve(added.size());
        for (const AddedLine& line : added) {
            held_.emplace(line.stored, false);
            marks_[Mark(line.stored)] = true;
        }
    }
    // Notes a line the file keeps.
    void Kept(std::string_view line) {
        if (!line.empty() && marks_[Mark(line)]) {
            if (const auto same = held_.find(line); same != held_.end()) {
                same->second = true;
            }
        }
    }
    // Whether an added line is new to the file and to the lines added before it.
    bool New(std::string_view stored) { return !std::exchange(held_.at(stored), true); }

private:
    static constexpr std::size_t kMarks = 1 << 16;
    // A cheap sign of a line (its length and its end bytes): most lines of a file have none that an
    // added line has, and are never hashed whole.
    static std::size_t Mark(std::string_view line) {
        return (line.size() * 961 + static_cast<unsigned char>(line.front()) * 31 +
                static_cast<unsigned char>(line.back())) %
               kMarks;
    }
    // Each added line, and whether the file holds it already.
    std::unordered_map<std::string_view, bool> held_;
    std::vector<bool> marks_;
};

// The lines of `text`, without their line ends.
template <typename Visit> void ForEachLine(std::string_view text, Visit visit) {
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        visit(line);
        start = end + 1;
    }
}

// The file rebuilt for its deletions: the lines present before a pending deletion of their name are
// dropped, and empty lines too. Progress shows every hundred lines examined.
std::string Rewritten(Context& context, const FileUpdate& update, const std::vector<AddedLine>& added,
                      const PendingDeletions& pending, ui::Control* status) {
    const std::unordered_map<std::string, std::size_t> latest = pending.LastByName();
    std::vector<bool> lengths; // the lengths of those names
    for (const auto& [name, order] : latest) {
        if (lengths.size() <= name.size()) {
            lengths.resize(name.size() + 1);
        }
        lengths[name.size()] = true;
    }
    static const StoredNameReader reader;
    std::string name;
    std::string kept;
    kept.reserve(update.original.size());
    // Kept lines of the original that already end in CR LF are copied as runs, not one by one.
    const std::string_view original = update.original;
    std::size_t runStart = 0;
    std::size_t runEnd = 0;
    const auto flushRun = [&] {
        kept.append(original.substr(runStart, runEnd - runStart));
        runStart = runEnd;
    };
    int lineNumber = 0;
    AddedTexts addedTexts(added);
    // Whether the line stays: not empty, and no deletion after it names it.
    const auto stays = [&](std::string_view line, std::size_t present) {
        ++lineNumber;
        if (lineNumber % kRewriteStatusEvery == 0) {
            ShowStatus(context, status,
                       ReplaceAllIgnoreCase(context.Message("MSG_REMOVING_OUTDATED"), "[Entry]",
                                            std::to_string(lineNumber)));
        }
        if (line.empty()) {
            return false;
        }
        const std::size_t length = reader.NameLength(line);
        if (length < lengths.size() && lengths[length]) {
            reader.Fold(line, length, name);
            const auto deletion = latest.find(name);
            if (deletion != latest.end() && deletion->second > present) {
                return false;
            }
        }
        return true;
    };
    for (std::size_t start = 0; start < original.size();) {
        std::size_t end = original.find('\n', start);
        const bool whole = end != std::string_view::npos && end > start && original[end - 1] == '\r';
        if (end == std::string_view::npos) {
            end = original.size();
        }
        std::string_view line = original.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        const std::size_t next = std::min(end + 1, original.size());
        const bool keep = stays(line, 0);
        if (keep) {
            addedTexts.Kept(line);
        }
        if (keep && whole) {
            if (runEnd != start) {
                flushRun();
                runStart = start;
            }
            runEnd = next;
        } else {
            flushRun();
            if (keep) {
                kept.append(line).append("\r\n"); // a line ended by LF alone, or the last one without an end
            }
            runStart = runEnd = next;
        }
        start = next;
    }
    flushRun();
    for (const AddedLine& line : added) {
        if (stays(line.stored, line.order + 1) && addedTexts.New(line.stored)) {
            kept.append(line.stored).append("\r\n");
        }
    }
    return kept;
}

// Works out the file's new contents from the records that belong to it, and counts the changes: one
// per added line and one for the rewrite when deletions remain.
void PlanFile(Context& context, std::string_view file, const std::vector<UpdateRecord>& records,
              FileUpdate& update, int& changes, ui::Control* status) {
    std::vector<AddedLine> added;
    PendingDeletions pending;
    for (std::size_t order = 0; order < records.size(); ++order) {
        const UpdateRecord& record = records[order];
        if (!RecordBelongsTo(record.kind, file)) {
            continue;
        }
        if (record.action == kActionAdd) {
            added.push_back({StoredLineFor(record, file), order});
            ++changes;
            if (record.body.find('=') != std::string::npos) {
                // An ADD cancels an earlier DEL that was sent as its bare name.
                pending.CancelName(FoldedBody(NameOf(record.body)));
            }
        } else if (record.action == kActionDelete) {
            pending.Add(FoldedBody(record.body), order);
        }
    }
    ShowStatus(context, status, context.Message("MSG_APPLYING"));
    if (!pending.Empty()) {
        ++changes;
        update.updated = Rewritten(context, update, added, pending, status);
        update.changed = true;
    } else if (!added.empty()) {
        update.updated = update.original;
        if (!update.updated.empty() && update.updated.back() != '\n') {
            update.updated += "\r\n"; // a last line without its line break stays a line of its own
        }
        AddedTexts addedTexts(added);
        ForEachLine(update.original, [&](std::string_view line) { addedTexts.Kept(line); });
        for (const AddedLine& line : added) {
            if (addedTexts.New(line.stored)) {
                update.updated.append(line.stored).append("\r\n");
            }
        }
        update.changed = true;
    }
}

std::string PendingPath(const FileUpdate& update) {
    return update.path + std::string(kPendingUpdateSuffix);
}

// Puts the new files in place of the old ones. When one cannot take its place, the files already
// replaced get their old contents back, so the update applies to every file or to none.
bool ReplaceAll(IFileSystem& files, std::vector<FileUpdate>& updates) {
    std::vector<FileUpdate*> changed;
    for (FileUpdate& update : updates) {
        if (update.changed) {
            changed.push_back(&update);
        }
    }
    const auto discardPending = [&] {
        for (FileUpdate* update : changed) {
            files.DeleteFile(PendingPath(*update));
        }
    };
    for (FileUpdate* update : changed) {
        if (!files.WriteFile(PendingPath(*update), update->updated)) {
            discardPending();
            return false;
        }
    }
    for (std::size_t i = 0; i < changed.size(); ++i) {
        if (files.MoveFile(PendingPath(*changed[i]), changed[i]->path, true)) {
            continue;
        }
        for (std::size_t j = 0; j < i; ++j) {
            const FileUpdate& done = *changed[j];
            if (!done.existed) {
                files.DeleteFile(done.path);
            } else if (files.WriteFile(PendingPath(done), done.original)) {
                files.MoveFile(PendingPath(done), done.path, true);
            }
        }
        discardPending();
        return false;
    }
    return true;
}

} // namespace

std::string EncodeRecordBody(std::string_view plainBody) {
    return CodeBodyKeepingSeparators(plainBody, EncodeDefinitionLine);
}

std::vector<UpdateRecord> ParseUpdateRecords(std::string_view text) {
    std::vector<UpdateRecord> records;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = FindRecordSeparator(text, start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string_view piece = TrimmedView(text.substr(start, end - start));
        start = end + kRecordSeparator.size();
        const std::size_t marker = piece.find(kDefinitionMarker);
        if (piece.empty() || marker == std::string_view::npos) {
            continue;
        }
        const std::string_view header = piece.substr(0, marker);
        const std::size_t bar = header.find('|');
        if (bar == std::string_view::npos) {
            continue; // no action field
        }
        const std::string_view rest = header.substr(bar + 1);
        UpdateRecord record;
        record.kind = DecodeDefinitionLine(header.substr(0, bar));
        record.action = std::string(rest.substr(0, rest.find('|')));
        record.body = std::string(piece.substr(marker + kDefinitionMarker.size()));
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

std::optional<int> TryApplyUpdateRecords(Context& context, std::string_view updateText, ui::Control* status) {
    IFileSystem& files = context.machine.files;
    const std::vector<UpdateRecord> records = ParseUpdateRecords(updateText);
    std::vector<FileUpdate> updates;
    int changes = 0;
    for (std::string_view file : kFileOrder) {
        FileUpdate& update = updates.emplace_back();
        update.path = context.DataFile(file);
        update.existed = files.GetAttributes(update.path).has_value();
        if (update.existed) {
            auto stored = files.ReadFile(update.path);
            if (!stored) {
                return std::nullopt; // a file that cannot be read cannot be updated, so none is
            }
            update.original = std::move(*stored);
        }
        PlanFile(context, file, records, update, changes, status);
    }
    if (!ReplaceAll(files, updates)) {
        return std::nullopt;
    }
    return changes;
}

int ApplyUpdateRecords(Context& context, std::string_view updateText, ui::Control* status) {
    return TryApplyUpdateRecords(context, updateText, status).value_or(0);
}

} // namespace grimsweep
