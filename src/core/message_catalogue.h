// The message catalogue: every text shown in a message box or status label, looked up by key. A fixed
// table of 201 entries filled from index 0; the first unused entry ends it. Lookups stop at the first
// matching key, so storing a key twice leaves the first text in force.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>

namespace grimsweep {

class MessageCatalogue {
public:
    static constexpr std::size_t kCapacity = 201;

    // Stores the pair in the first unused entry; does nothing when all entries are in use.
    void setMessage(std::string_view key, std::string_view message);
    // The message of the first entry whose key equals `key` ignoring case, with its first letter
    // upper-cased; the empty text when no entry has that key.
    std::string getMessages(std::string_view key) const;

    // Registers the English defaults in their order.
    void RegisterDefaults();
    // For every entry in use, in order: a non-empty translation for its key replaces its message.
    void ReplaceFromLanguage(const std::function<std::string(const std::string& key)>& lookUpItem);

    std::size_t Count() const;
    const std::string& KeyAt(std::size_t index) const { return entries_.at(index).key; }
    const std::string& MessageAt(std::size_t index) const { return entries_.at(index).message; }

private:
    struct Entry {
        std::string key;
        std::string message;
        bool continuesSentence = false; // keeps its own case (ContinuesSentence)
        bool inUse = false;
    };
    std::array<Entry, kCapacity> entries_;
};

} // namespace grimsweep
