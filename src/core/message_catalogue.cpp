#include "core/message_catalogue.h"

#include "common/text.h"
#include "core/default_messages.h"

namespace grimsweep {

void MessageCatalogue::setMessage(std::string_view key, std::string_view message) {
    for (auto& entry : entries_) {
        if (!entry.inUse) {
            entry.key = std::string(key);
            entry.message = std::string(message);
            entry.continuesSentence = ContinuesSentence(key);
            entry.inUse = true;
            return;
        }
    }
}

std::string MessageCatalogue::getMessages(std::string_view key) const {
    for (const auto& entry : entries_) {
        if (!entry.inUse) {
            break;
        }
        if (EqualsIgnoreCase(entry.key, key)) {
            return entry.continuesSentence ? entry.message : UpperFirst(entry.message);
        }
    }
    return {};
}

void MessageCatalogue::RegisterDefaults() {
    for (const auto& message : DefaultMessages()) {
        setMessage(message.key, message.text);
    }
}

void MessageCatalogue::ReplaceFromLanguage(
    const std::function<std::string(const std::string& key)>& lookUpItem) {
    for (auto& entry : entries_) {
        if (!entry.inUse) {
            break;
        }
        std::string translated = lookUpItem(entry.key);
        if (!translated.empty()) {
            entry.message = std::move(translated);
        }
    }
}

std::size_t MessageCatalogue::Count() const {
    std::size_t count = 0;
    while (count < kCapacity && entries_[count].inUse) {
        ++count;
    }
    return count;
}

} // namespace grimsweep
