// Every key of the per-user settings store with the default its readers supply, and the machine-wide
// values. Values are text: check boxes "0"/"1", options and flags "True"/"False", free text otherwise.
#pragma once

#include <string_view>

namespace grimsweep::settings {

inline constexpr std::string_view kSectionSettings = "Settings";
inline constexpr std::string_view kSectionOptions = "OptionAndSettings";
inline constexpr std::string_view kSectionDrives = "Drives";

inline constexpr std::string_view kTrue = "True";
inline constexpr std::string_view kFalse = "False";

// Section "Settings".
inline constexpr std::string_view kLanguage = "Language";
inline constexpr std::string_view kLanguageDefaultFirstRead = "";
inline constexpr std::string_view kLanguageDefault = "English";
inline constexpr std::string_view kShowHelp = "showHelp";
inline constexpr std::string_view kShowHelpDefault = "1";
inline constexpr std::string_view kMinimized = "Minimized";
inline constexpr std::string_view kMinimizedDefault = "No";
inline constexpr std::string_view kMinimizedYes = "Yes";
inline constexpr std::string_view kMax = "Max";
inline constexpr std::string_view kMaxDefault = "0";
inline constexpr std::string_view kFoundColumnPrefix = "FoundCol2"; // & column number 1, 2, ...
inline constexpr std::string_view kFoundColumnDefault = "1400";
inline constexpr std::string_view kLastScan = "lblLastScan";
inline constexpr std::string_view kLastFullScan = "lblLastFullScan";
inline constexpr std::string_view kLastScanDefault = "Never";
inline constexpr std::string_view kDefRemoved = "lblDefRemoved";
inline constexpr std::string_view kDefRemovedDefault = "0";
inline constexpr std::string_view kAutoDelete = "chkAutoDel";
inline constexpr std::string_view kAutoDeleteDefault = "0";
inline constexpr std::string_view kIgnorePermissionDenied = "IgnorePermissionDeniedError";
inline constexpr std::string_view kIgnorePermissionDeniedDefault = "0";

// Section "OptionAndSettings".
inline constexpr std::string_view kStatus = "STATUS";
inline constexpr std::string_view kStatusRunning = "RUNNING";
inline constexpr std::string_view kStatusStopped = "STOPPED";
inline constexpr std::string_view kRestart = "RESTART";
inline constexpr std::string_view kShow = "SHOW";
inline constexpr std::string_view kMakeLog = "chkMakeLog";
inline constexpr std::string_view kMakeLogDefault = "1";
inline constexpr std::string_view kSweepMemory = "chkSweepMemory";
inline constexpr std::string_view kSweepMemoryDefault = "1";
inline constexpr std::string_view kScanRegistry = "chkScanRegistry";
inline constexpr std::string_view kScanRegistryDefault = "1";
inline constexpr std::string_view kScanCookies = "chkScanCookies";
inline constexpr std::string_view kScanCookiesDefault = "1";
inline constexpr std::string_view kSendData = "chkSendData";
inline constexpr std::string_view kSendDataDefault = "1";
inline constexpr std::string_view kScanAllDrives = "optScanAllSelectedHardDrive";
inline constexpr std::string_view kScanAllDrivesDefault = "True";
inline constexpr std::string_view kScanKnownOnly = "optScanOnlyKnownSoftwares";
inline constexpr std::string_view kMemoryShieldOn = "optMemorySheildOn";
inline constexpr std::string_view kMemoryShieldOnDefault = "True";
inline constexpr std::string_view kMemoryShieldOff = "optMemorySheildOff";
inline constexpr std::string_view kMemoryShieldOffDefault = "False";
inline constexpr std::string_view kHomePageShieldOn = "optIEHomePageSheildOn";
inline constexpr std::string_view kHomePageShieldOnDefault = "True";
inline constexpr std::string_view kHomePageShieldOff = "optIEHomePageSheildOff";
inline constexpr std::string_view kHomePageShieldOffDefault = "False";
inline constexpr std::string_view kAskBeforeRestoring = "optAlwaysnotifybeforerestoring";
inline constexpr std::string_view kAskBeforeRestoringDefault = "True";
inline constexpr std::string_view kRestoreSilently = "optRestoredefaultwithoutnotification";
inline constexpr std::string_view kRestoreSilentlyDefault = "False";
inline constexpr std::string_view kHomepage = "Homepage";
inline constexpr std::string_view kHomepageDefault = "";
inline constexpr std::string_view kRunAtStartup = "chkRunAtStartup";
inline constexpr std::string_view kRunAtStartupControlDefault = "0"; // when copied into the control
inline constexpr std::string_view kRunAtStartupHandlerDefault = "1"; // when its own handler re-reads it
inline constexpr std::string_view kScheduledScans = "chkAutomaticScanYesOrNo";
inline constexpr std::string_view kScheduledScansDefault = "0";
inline constexpr std::string_view kScheduleDay = "Day";
inline constexpr std::string_view kScheduleDayDefault = "None";
inline constexpr std::string_view kScheduleDate = "Date";
inline constexpr std::string_view kScheduleTime = "Time";
inline constexpr std::string_view kScheduleDateTimeDefault = "Null";
inline constexpr std::string_view kAutomaticUpdate = "chkAutomaticUpdate";
inline constexpr std::string_view kAutomaticUpdateControlDefault = "1"; // when copied into the control
inline constexpr std::string_view kAutomaticUpdateStartDefault = "0";   // when start-up decides
inline constexpr std::string_view kRegistryDefinitionState = "RegistryDefinition";
inline constexpr std::string_view kFileDefinitionState = "FileDefinition";
inline constexpr std::string_view kExeDefinitionState = "EXEDefinition";
inline constexpr std::string_view kCookieDefinitionState = "CookieDefinition";

// Section "Drives": one key per drive letter, "True" or "False".
inline constexpr std::string_view kDriveSelectedDefault = "True";

// Machine-wide values, section "Settings".
inline constexpr std::string_view kMachineFirstTime = "FirstTime";
inline constexpr std::string_view kMachineFirstTimeDone = "Yes";
inline constexpr std::string_view kMachineShowHelp = "showHelp";

} // namespace grimsweep::settings
