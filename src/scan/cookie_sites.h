// Finding the web site that set a cookie file, and testing it against the blocked-site list
// (BlockedCookies.dat). Cookie file names have the browser's form "user@site[1].txt"; the file's text
// holds the cookie's host and path ("site.com/").
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace grimsweep {

// A cookie file holds a few kilobytes; a larger file is not read and counts as unreadable.
inline constexpr std::size_t kLargestCookieFile = 1 << 20;

// What CookieSite answers when it cannot find the site.
inline constexpr std::string_view kNoCookieSite = "False";

// The site part of a cookie file's name: the text after the first "@", cut before its first "(", or when
// there is none before its first "[", or when there is neither before its last "." (the extension).
// Empty when the path holds no "@".
std::string SiteOfCookieName(std::string_view path);

// The host that set the cookie: the first field of the file (fields end at a comma or a line end) that
// holds the site of the file's name, with "/" after it, taken from that site up to the "/". The site is
// matched case-sensitively. kNoCookieSite when the name has no site, the file is absent, unreadable or
// larger than kLargestCookieFile, or no field fits.
std::string CookieSite(IFileSystem& files, const std::string& path);

// The host as the blocked-site list names it: its last dot-separated label dropped, then a leading
// "www." (any case), so that "www.ads.com" becomes "ads".
std::string TrimCookieSite(std::string_view site);

// Whether an entry of the list that contains the site (case-sensitive) names it: the entry with its last
// dot-separated label and its first "*" removed equals the site, ignoring case.
bool IsBlockedSite(const std::vector<std::string>& blockedSites, std::string_view site);

} // namespace grimsweep
