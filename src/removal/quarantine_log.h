// The quarantine log "QuarantineLog.txt": four-line records in the system code page with CR LF line
// ends, appended one at a time (the file is opened, written and closed for each record).
#pragma once

#include <string>
#include <string_view>

namespace grimsweep {

class Context;

inline constexpr std::string_view kQuarantineLogName = "QuarantineLog.txt";
inline constexpr std::string_view kAllValues = "All Values";
// The action word of a record that puts a quarantined item back.
inline constexpr std::string_view kRestoredAction = "Restored";

// data folder & "\quarantine\QuarantineLog.txt"
std::string QuarantineLogPath(const Context& context);

// The record texts, CR LF after each of the four lines, in UTF-8 (the log converts them).
std::string FileRecord(std::string_view timestamp, std::string_view backupName, std::string_view source);
std::string RegistryRecord(std::string_view timestamp, std::string_view keyText, std::string_view valueText);
// A restored item: timestamp + " - Restored: " + backup name, then the location it went back to.
std::string RestoreRecord(std::string_view timestamp, std::string_view backupName, std::string_view target);

class QuarantineLog {
public:
    explicit QuarantineLog(Context& context) : context_(context) {}

    // On during the removal's logging pass, off otherwise; records are written only while it is on.
    bool logging = false;

    // The local date and time as the records start: short date, a blank, long time.
    std::string Timestamp() const;

    // Append a record while logging is on. True when the record is in the log (false when logging is
    // off or the log cannot be written).
    bool LogQuarantinedFile(std::string_view source, std::string_view backupName);
    bool LogRemovedRegistryEntry(std::string_view keyText, std::string_view valueText);
    // Written whatever the logging switch says: a restore is not part of a removal.
    bool LogRestored(std::string_view backupName, std::string_view target);

    // Whether a record could be appended now: the log opens for appending (it is created when missing).
    bool Writable();

private:
    bool Append(const std::string& record);

    Context& context_;
};

} // namespace grimsweep
