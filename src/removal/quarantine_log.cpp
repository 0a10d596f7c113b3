#include "removal/quarantine_log.h"

#include "core/context.h"
#include "removal/quarantine_folder.h"

namespace grimsweep {

namespace {
constexpr std::string_view kCrLf = "\r\n";
} // namespace

std::string QuarantineLogPath(const Context& context) {
    return QuarantineFolder(context) + "\\" + std::string(kQuarantineLogName);
}

namespace {

// Every record is two lines of text and two empty lines, each ended by CR LF.
std::string FourLineRecord(std::string_view first, std::string_view second) {
    std::string record;
    record.append(first).append(kCrLf).append(second).append(kCrLf);
    record.append(kCrLf).append(kCrLf);
    return record;
}

} // namespace

std::string FileRecord(std::string_view timestamp, std::string_view backupName, std::string_view source) {
    return FourLineRecord(std::string(timestamp) + " - File: " + std::string(backupName),
                          " - Location: " + std::string(source));
}

std::string RegistryRecord(std::string_view timestamp, std::string_view keyText, std::string_view valueText) {
    return FourLineRecord(std::string(timestamp) + " - Key: " + std::string(keyText),
                          "Value: " + std::string(valueText));
}

std::string RestoreRecord(std::string_view timestamp, std::string_view backupName, std::string_view target) {
    return FourLineRecord(std::string(timestamp) + " - " + std::string(kRestoredAction) + ": " +
                              std::string(backupName),
                          " - Location: " + std::string(target));
}

std::string QuarantineLog::Timestamp() const {
    ISystem& system = context_.machine.system;
    return system.FormatDateTimeForDisplay(system.Now());
}

bool QuarantineLog::Append(const std::string& record) {
    return context_.machine.files.AppendFile(QuarantineLogPath(context_),
                                             context_.machine.system.Utf8ToCodePage(record));
}

bool QuarantineLog::LogQuarantinedFile(std::string_view source, std::string_view backupName) {
    return logging && Append(FileRecord(Timestamp(), backupName, source));
}

bool QuarantineLog::LogRemovedRegistryEntry(std::string_view keyText, std::string_view valueText) {
    return logging && Append(RegistryRecord(Timestamp(), keyText, valueText));
}

bool QuarantineLog::LogRestored(std::string_view backupName, std::string_view target) {
    return Append(RestoreRecord(Timestamp(), backupName, target));
}

bool QuarantineLog::Writable() {
    return context_.machine.files.AppendFile(QuarantineLogPath(context_), "");
}

} // namespace grimsweep
