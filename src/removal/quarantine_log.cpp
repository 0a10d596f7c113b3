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

std::string FileRecord(std::string_view timestamp, std::string_view backupName, std::string_view source) {
    std::string record;
    record.append(timestamp).append(" - File: ").append(backupName).append(kCrLf);
    record.append(" - Location: ").append(source).append(kCrLf);
    record.append(kCrLf).append(kCrLf);
    return record;
}

std::string RegistryRecord(std::string_view timestamp, std::string_view keyText, std::string_view valueText) {
    std::string record;
    record.append(timestamp).append(" - Key: ").append(keyText).append(kCrLf);
    record.append("Value: ").append(valueText).append(kCrLf);
    record.append(kCrLf).append(kCrLf);
    return record;
}

std::string RestoreRecord(std::string_view timestamp, std::string_view backupName, std::string_view target) {
    std::string record;
    record.append(timestamp).append(" - ").append(kRestoredAction).append(": ").append(backupName);
    record.append(kCrLf).append(" - Location: ").append(target).append(kCrLf);
    record.append(kCrLf).append(kCrLf);
    return record;
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
