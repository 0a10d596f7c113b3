// The one form in which the program judges a path before it looks at, protects, backs up, removes or
// restores what the path names. A definition can spell one place in many ways ("C:\WINDOWS.",
// "c:/windows/", "C:\Temp\..\Windows", "\\?\C:\Windows", "C:\PROGRA~1"); each spelling is brought to the
// path the system itself would open, so that every decision about it sees the same text.
//
// Only paths on a local drive ("X:\...") are ever used. A network path would make every scan reach out to
// another machine with the user's credentials, a device or pipe can block or answer anything, a stream
// suffix ("file::$DATA") names a part of a file, and a relative path depends on the program's current
// folder: those are reported by kind and left alone.
#pragma once

#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace grimsweep {

enum class PathKind {
    Local,     // "X:\..." on a drive of this machine
    Network,   // "\\server\share\...", "\\?\UNC\..."
    Device,    // "\\.\...", "\\?\GLOBALROOT\...", a reserved name such as "NUL" or "COM1.txt"
    Stream,    // a ":" after the drive: an alternate data stream or an attribute suffix
    Relative,  // no drive root: "Windows\x", "\Windows", "C:Windows"
    Malformed, // a character no file name can hold, an element that is only dots and blanks, an empty path
};

struct CanonicalPath {
    PathKind kind = PathKind::Malformed;
    // For a local path: "X:\" with an upper-case drive letter, one backslash between elements, no
    // trailing backslash (but for the root), no "." or ".." elements, no trailing dots or blanks on any
    // element, short elements in their long form where the file or folder exists. Otherwise the text the
    // caller gave.
    std::string path;

    bool Local() const { return kind == PathKind::Local; }
};

CanonicalPath CanonicalizePath(IFileSystem& files, std::string_view path);

// The canonical local path folded for comparing, or the empty text for any other kind.
std::string ComparablePath(IFileSystem& files, std::string_view path);

// Whether a name is one the system reserves for a device ("CON", "nul.txt", "COM1 .log"): the part before
// the first dot, trailing blanks dropped, compared without regard to case.
bool IsReservedDeviceName(std::string_view name);

// A drive path that is already in the system's full form: "X:\" and elements with no "/", no empty, "."
// or ".." element, no element ending in a dot or a blank. (Reserved names and short elements aside.)
bool IsPlainDrivePath(std::string_view path);

// `inner` is `outer` or lies below it; both are canonical or comparable paths.
bool PathWithin(std::string_view inner, std::string_view outer);

} // namespace grimsweep
