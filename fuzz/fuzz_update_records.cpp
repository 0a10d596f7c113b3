// Any bytes as an answer of the definition service. As update records: each record keeps its shape, and
// the records sent again read back the same. As a service date: what parses is a real date, and its US
// form reads back to it. Applied to a small data folder on the simulated machine (with a file fault that
// the input's length picks): no temporary file is left, every definition file is still there, and a line
// that no deletion of the text names is still there too.
#include <array>
#include <string>
#include <vector>

#include "common/text.h"
#include "core/context.h"
#include "definitions/definition_files.h"
#include "definitions/line_code.h"
#include "fuzz_support.h"
#include "platform/sim/sim_machine.h"
#include "platform/text_files.h"
#include "ui/control.h"
#include "ui/form.h"
#include "ui/headless_host.h"
#include "update/service_dates.h"
#include "update/update_records.h"

namespace {

using namespace grimsweep;

// Longer texts are parsed but not applied: the rewrite compares every line with every deletion, so a
// long text of deletions would make a single run slow without reaching more code.
constexpr std::size_t kMaxAppliedBytes = 4096;

// A line in each file whose name holds no letter, so that no case folding reaches it: only a deletion
// that spells this name in the decoded text may drop it.
constexpr std::string_view kKeeperName = "0417_52.39";

struct SampleFile {
    std::string_view name;
    std::vector<std::string> lines; // plain; the first is the keeper
};

const std::array<SampleFile, 6>& SampleFiles() {
    static const std::array<SampleFile, 6> files = {{
        {kFileDefinitionFile,
         {"0417_52.39=Keeper|[system]", "gloomtoolbar.dll=Gloom Toolbar|[progfil]Gloom Toolbar|Adware",
          "mothwatch.exe=Mothwatch Keylogger|[system]|Keylogger"}},
        {kExeDefinitionFile,
         {"0417_52.39=Keeper|[system]", "pebblepop.exe=PebblePop Ads|[appdata]PebblePop"}},
        {kRegistryDefinitionFile,
         {"0417_52.39=Keeper", "2^SOFTWARE\\Gloom Toolbar^=Gloom Toolbar|Adware",
          "1^Software\\Microsoft\\Internet Explorer\\Main^Start Page^=SearchWhirl Hijacker|Browser "
          "hijacker"}},
        {kBlockedCookiesFile, {"0417_52.39", "trackmoth.example", "*pebblepop.example"}},
        {kDirectoryDefinitionFile,
         {"0417_52.39=Keeper|[progfil]0417",
          "PebblePop=PebblePop Ads|[appdata]PebblePop|Pop-up advertising"}},
        {kSafetyFile,
         {"0417_52.39=Keeper|", "SDLL|gloomsafe.dll=1.0|[system]gloomsafe.dll|Clearbrook Utilities"}},
    }};
    return files;
}

struct FuzzMachine {
    FuzzMachine() : context(sim.View(), host) { context.EstablishDataFolder(); }

    // The data folder as the sample files make it, nothing else in it.
    void ResetDataFolder() {
        sim.files.DeleteFolder(context.dataFolder);
        sim.files.PutFolder(context.dataFolder);
        for (const SampleFile& file : SampleFiles()) {
            std::string bytes;
            for (const std::string& line : file.lines) {
                bytes += EncodeDefinitionLine(line) + std::string(kCrLf);
            }
            sim.files.PutFile(context.DataFile(file.name), bytes);
        }
    }

    sim::SimMachine sim;
    HeadlessHost host;
    Context context;
    ui::Form form{host, "frmDownload"};
    ui::Control& status = form.Add("txtStatus", ui::ControlType::TextBox);
};

std::size_t Occurrences(std::string_view text, std::string_view needle) {
    std::size_t count = 0;
    for (std::size_t at = text.find(needle); at != std::string_view::npos; at = text.find(needle, at + 1)) {
        ++count;
    }
    return count;
}

void CheckRecords(std::string_view text, const std::vector<UpdateRecord>& records) {
    // Every record holds its own "[DEF]", and records never overlap.
    fuzz::Require(records.size() <= Occurrences(text, kDefinitionMarker), "more records than markers");
    std::string again;
    for (const UpdateRecord& record : records) {
        fuzz::Require(record.action.find('|') == std::string::npos, "the action runs past its field");
        fuzz::Require(FindIgnoreCase(record.body, kRecordSeparator) == std::string::npos,
                      "a body runs past its record");
        fuzz::Require(record.body.empty() || record.body.back() != ' ', "the body is not trimmed");
        if (!again.empty()) {
            again += kRecordSeparator;
        }
        again += EncodeDefinitionLine(record.kind) + "|" + record.action + std::string(kDefinitionMarker) +
                 record.body;
    }
    const std::vector<UpdateRecord> reread = ParseUpdateRecords(again);
    fuzz::Require(reread.size() == records.size(), "records sent again read back as another number");
    for (std::size_t i = 0; i < reread.size(); ++i) {
        fuzz::Require(reread[i].kind == records[i].kind && reread[i].action == records[i].action &&
                          reread[i].body == records[i].body,
                      "a record sent again reads back different");
    }
}

void CheckDate(std::string_view text) {
    const std::string cleaned = CleanServiceDate(text);
    fuzz::Require(cleaned.find_first_of("\t\r\n") == std::string::npos, "a cleaned date keeps a break");
    fuzz::Require(cleaned.size() <= text.size(), "cleaning added text");
    for (std::string_view candidate : {std::string_view(cleaned), text}) {
        const auto when = ParseUsDateTime(candidate);
        if (!when) {
            continue;
        }
        fuzz::Require(when->year >= 100 && when->year <= 9999 && when->month >= 1 && when->month <= 12 &&
                          when->day >= 1 && when->day <= 31 && when->hour >= 0 && when->hour <= 23 &&
                          when->minute >= 0 && when->minute <= 59 && when->second >= 0 && when->second <= 59,
                      "a parsed date out of range");
        const auto back = ParseUsDateTime(UsDateTimeText(*when));
        fuzz::Require(back.has_value(), "the US form of a parsed date does not parse");
        fuzz::Require(*back == *when && !Later(*back, *when) && !Later(*when, *back),
                      "the US form of a parsed date reads back to another date");
    }
}

// The file fault of one run, picked by the input's length: most runs have none.
enum class Fault { None, TemporaryWriteFails, MoveFailsOnce, AppendFailsOnce, ReadFails };

Fault FaultFor(std::size_t size) {
    switch (size % 8) {
    case 4:
        return Fault::TemporaryWriteFails;
    case 5:
        return Fault::MoveFailsOnce;
    case 6:
        return Fault::AppendFailsOnce;
    case 7:
        return Fault::ReadFails;
    default:
        return Fault::None;
    }
}

void CheckApply(std::string_view text, const std::vector<UpdateRecord>& records) {
    static FuzzMachine machine;
    sim::SimFileSystem& files = machine.sim.files;
    Context& context = machine.context;
    machine.ResetDataFolder();

    const Fault fault = FaultFor(text.size());
    const std::string faulty = context.DataFile(SampleFiles()[text.size() / 8 % SampleFiles().size()].name);
    const std::string temporary = faulty + std::string(kPendingUpdateSuffix);
    std::vector<std::string> before;
    for (const SampleFile& file : SampleFiles()) {
        before.push_back(files.Contents(context.DataFile(file.name)));
    }
    switch (fault) {
    case Fault::None:
        break;
    case Fault::TemporaryWriteFails:
        files.SetWriteFails(temporary, true);
        break;
    case Fault::MoveFailsOnce:
        files.FailNext(sim::FileOp::Move, faulty, 1);
        break;
    case Fault::AppendFailsOnce:
        files.FailNext(sim::FileOp::Append, faulty, 1);
        break;
    case Fault::ReadFails:
        files.SetReadFails(faulty, true);
        break;
    }

    const int changes = ApplyUpdateRecords(context, text, &machine.status);

    files.SetWriteFails(temporary, false);
    files.FailNext(sim::FileOp::Move, faulty, 0);
    files.FailNext(sim::FileOp::Append, faulty, 0);
    files.SetReadFails(faulty, false);

    // At most one change per appended line and one per file with deletions; without a fault, at least
    // every appended line.
    int adds = 0;
    int filesWithDeletions = 0;
    for (const SampleFile& file : SampleFiles()) {
        bool deletes = false;
        for (const UpdateRecord& record : records) {
            if (RecordBelongsTo(record.kind, file.name)) {
                adds += record.action == kActionAdd;
                deletes = deletes || record.action == kActionDelete;
            }
        }
        filesWithDeletions += deletes;
    }
    fuzz::Require(changes <= adds + filesWithDeletions, "more changes than appends and rewrites");
    fuzz::Require(fault != Fault::None || changes >= adds, "an appended line was not counted");

    fuzz::Require(files.FindEntries(context.DataFile("*" + std::string(kPendingUpdateSuffix))).empty(),
                  "new contents are left behind");
    if (changes == 0) {
        // Nothing applied: every file keeps exactly what it held.
        for (std::size_t i = 0; i < SampleFiles().size(); ++i) {
            fuzz::Require(files.Contents(context.DataFile(SampleFiles()[i].name)) == before[i],
                          "an update that applied nothing changed a file");
        }
    }
    const bool keeperNamed = DecodeDefinitionLine(text).find(kKeeperName) != std::string::npos;
    for (const SampleFile& file : SampleFiles()) {
        const std::string path = context.DataFile(file.name);
        fuzz::Require(files.Exists(path), "a definition file went missing");
        if (!keeperNamed) {
            const std::string keeper = EncodeDefinitionLine(file.lines.front()) + std::string(kCrLf);
            fuzz::Require(files.Contents(path).starts_with(keeper),
                          "a line that no deletion names went missing");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto text = fuzz::AsText(data, size);
    const std::vector<UpdateRecord> records = ParseUpdateRecords(text);
    CheckRecords(text, records);
    CheckDate(text);
    if (size <= kMaxAppliedBytes) {
        CheckApply(text, records);
    }
    return 0;
}
