// The cookie phase of a user scan: every file of the browser's cookie folder whose site is on the
// blocked-site list (BlockedCookies.dat) and is not excluded is listed for removal, one row per file.
#pragma once

#include <string>
#include <string_view>

#include "scan/scan_run.h"

namespace grimsweep {

// The shell's special folder for the current user's cookies.
inline constexpr int kCsidlCookies = 0x21;

inline constexpr std::string_view kCookieFoundPrefix = "Cookie Found: ";
inline constexpr std::string_view kCookieRowPrefix = "Cookie: ";
inline constexpr std::string_view kTrackingCookieDetails = "Tracking Cookie";

// Looks the cookie folder up once and scans it; does nothing when the shell has no cookie folder.
void ScanCookies(ScanRun& run);

// Scans every file of the folder (given without trailing backslash) in the file system's order. Counts
// each file in the cookies/processes counter; ends early on Stop, or when a blocked cookie is met after
// the user scan has ended.
void ScanCookieFolder(ScanRun& run, const std::string& folder);

} // namespace grimsweep
