#include "core/message_catalogue.h"

#include <gtest/gtest.h>

#include "core/default_messages.h"

namespace grimsweep {
namespace {

TEST(MessageCatalogue, DefaultsAreFoundIgnoringCaseWithFirstLetterUpperCased) {
    MessageCatalogue catalogue;
    catalogue.RegisterDefaults();
    EXPECT_EQ(catalogue.Count(), DefaultMessages().size());
    EXPECT_EQ(catalogue.KeyAt(0), "MSG_THANK1");
    EXPECT_EQ(catalogue.getMessages("msg_sure"), "Are you sure?");
    EXPECT_EQ(catalogue.getMessages("MSG_COMPLETE"), "complete") << "it continues a sentence: its own case";
    EXPECT_EQ(catalogue.getMessages("MSG_RESULTS_THANK"), "submitted.  Thank you!");
    EXPECT_EQ(catalogue.getMessages("MSG_NOSUCHKEY"), "");
    EXPECT_EQ(catalogue.getMessages("MSG_TITLELANGUAGE"), "Language Selection");
    // Placeholders and the texts' own wording stay as written.
    EXPECT_EQ(catalogue.getMessages("MSG_CAPTION"), "[ProgramName] by [Company]");
    EXPECT_EQ(catalogue.getMessages("MSG_PAUSED"), "[ProgramName] has been paused.  Click OK to resume.");
    EXPECT_EQ(catalogue.getMessages("MSG_COOKIES_FINISHED"), "Finished Inpecting Cookies");
    EXPECT_EQ(catalogue.getMessages("MSG_FOUND2"), "] using you system memory. Click YES to stop [");
}

TEST(MessageCatalogue, FirstEntryWinsAndAFullTableStoresNothing) {
    MessageCatalogue catalogue;
    catalogue.setMessage("MSG_A", "first");
    catalogue.setMessage("msg_a", "second");
    EXPECT_EQ(catalogue.getMessages("MSG_A"), "First");
    for (int i = 0; i < 300; ++i) {
        catalogue.setMessage("K" + std::to_string(i), "v");
    }
    EXPECT_EQ(catalogue.Count(), MessageCatalogue::kCapacity);
    EXPECT_EQ(catalogue.getMessages("K198"), "V");
    EXPECT_EQ(catalogue.getMessages("K199"), ""); // index 201 would be needed
}

TEST(MessageCatalogue, LanguageReplacesOnlyNonEmptyTranslations) {
    MessageCatalogue catalogue;
    catalogue.RegisterDefaults();
    catalogue.ReplaceFromLanguage([](const std::string& key) {
        return key == "MSG_SURE" ? std::string("\xC3\xaates-vous s\xC3\xbbr ?") : std::string();
    });
    EXPECT_EQ(catalogue.getMessages("MSG_SURE"), "\xC3\x8ates-vous s\xC3\xbbr ?");
    EXPECT_EQ(catalogue.getMessages("MSG_STOP"), "Are you sure you want to stop the scan?");
}

} // namespace
} // namespace grimsweep
