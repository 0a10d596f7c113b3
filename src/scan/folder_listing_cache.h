// Presence tests for many paths in the same few folders. Under Wine a test for an absent name in a large
// folder reads the whole folder (it compares without regard to case), so a folder asked about again is
// listed once and later names in it are answered from a hashed set of its entries. Every answer equals
// FileExists (core/file_presence.h); a path whose answer the listing could not give identically (see
// SplitListablePath) always gets its own test. It lives for one scan: files that appear or go later are
// not seen.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "platform/file_system.h"

namespace grimsweep {

// A folder is listed on its second question, so that a folder named once costs one test as before.
// Under Wine one listing costs as much as 3 (50 files) to 21 (5,000 files) tests of absent names in the
// folder; a folder that definitions name again is usually named many times more.
inline constexpr int kListFolderAtAsk = 2;

// The folder part (without trailing backslash, "C:" for the root) and the name of a path the listing can
// answer: an absolute drive path below MAX_PATH, of well-formed UTF-8 without control characters, with
// no wildcard, no "/", ":", "<", ">", """ or "|" after the drive, no empty element, no element ending
// in a dot or blank (".", ".." included), no "~" (a short 8.3 form), and a name that is no device name
// ("nul", "com1.txt"). Nothing for any other path.
struct ListablePath {
    std::string_view folder;
    std::string_view name;
};
std::optional<ListablePath> SplitListablePath(std::string_view path);

class FolderListingCache {
public:
    explicit FolderListingCache(IFileSystem& files, int listAtAsk = kListFolderAtAsk);

    // The answer of FileExists(files, path).
    bool FileExists(const std::string& path);

    // For tests and measurements: folder listings made and single presence tests made.
    int Listings() const { return listings_; }
    int SingleTests() const { return singleTests_; }

private:
    struct Folder {
        int asks = 0;
        bool listed = false;
        bool unlistable = false; // the listing was empty (a missing or empty folder, a failed query)
        bool missing = false;    // ... and the folder is not there: nothing inside it is present
        std::unordered_set<std::string> presentNames; // FoldFileName of every plain file
    };

    bool SingleTest(std::string_view path);
    void List(const std::string& folderPath, Folder& folder);

    IFileSystem& files_;
    int listAtAsk_;
    std::unordered_map<std::string, Folder> folders_; // by the folder as spelt
    int listings_ = 0;
    int singleTests_ = 0;
};

} // namespace grimsweep
