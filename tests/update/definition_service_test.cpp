// Live Update's conversation with the definition service on the simulated network: the date rules, the
// queries, when records are fetched, which date is stored, the 256-byte reads and the body cap.
#include "update/definition_service.h"

#include <gtest/gtest.h>

#include "../definitions/definitions_fixture.h"
#include "definitions/definition_files.h"
#include "definitions/definition_status.h"
#include "ui/control.h"
#include "ui/form.h"
#include "update/http_fetch.h"
#include "update/service_addresses.h"
#include "update/service_dates.h"

namespace grimsweep {
namespace {

TEST(ServiceDates, AnswersAreCleanedAndReadInTheUsForm) {
    EXPECT_EQ(CleanServiceDate("  9/1/2006 4:00:00 PM PST\t\r\n"), "9/1/2006 4:00:00 PM");
    EXPECT_EQ(CleanServiceDate("\t3/16/2006 12:00:00 am  (pst)\n"), "3/16/2006 12:00:00 am");
    const auto afternoon = ParseUsDateTime(CleanServiceDate("  9/1/2006 4:00:00 PM PST\t\r\n"));
    ASSERT_TRUE(afternoon.has_value());
    EXPECT_EQ(*afternoon, (LocalDateTime{2006, 9, 1, 16, 0, 0}));
    EXPECT_EQ(ParseUsDateTime("12/31/2006 12:05:09 AM"), (LocalDateTime{2006, 12, 31, 0, 5, 9}));
    EXPECT_EQ(ParseUsDateTime("3/16/2006"), (LocalDateTime{2006, 3, 16}));
    EXPECT_EQ(ParseUsDateTime("2/29/2008 23:59"), (LocalDateTime{2008, 2, 29, 23, 59, 0}));
    for (const char* bad :
         {"", "<html>Not Found</html>", "2/29/2006", "13/1/2006", "1/32/2006", "1/1/2006 13:00:00 PM",
          "1/1/2006 0:00:00 AM", "1/1/2006 24:00", "1/1/2006 4:00:00 XM", "1/1/2006 4:61:00 PM"}) {
        EXPECT_FALSE(ParseUsDateTime(bad).has_value()) << bad;
    }
    EXPECT_EQ(UsDateTimeText({2006, 3, 16}), "3/16/2006") << "the date alone at midnight";
    EXPECT_EQ(UsDateTimeText({2006, 9, 1, 16, 0, 0}), "9/1/2006 4:00:00 PM");
    EXPECT_EQ(UsDateTimeText({2006, 9, 1, 0, 0, 1}), "9/1/2006 12:00:01 AM");
    EXPECT_TRUE(Later({2006, 9, 1, 16, 0, 1}, {2006, 9, 1, 16, 0, 0}));
    EXPECT_FALSE(Later({2006, 9, 1, 16, 0, 0}, {2006, 9, 1, 16, 0, 0}));
}

TEST(ServiceAddresses, TheIniNamesEachServiceAndMissingKeysKeepTheDefault) {
    const ServiceAddresses addresses = ParseServiceAddresses(
        "[Other]\r\nDefinitions=http://wrong\r\n[services]\r\n definitions = https://defs.example/ \r\n"
        "; Collection=http://commented\r\nLanguages=http://lang.example:81\r\n");
    EXPECT_EQ(addresses.definitions, "https://defs.example");
    EXPECT_EQ(addresses.collection, kDefaultServiceAddress);
    EXPECT_EQ(addresses.languages, "http://lang.example:81");
}

class DefinitionServiceTest : public DefinitionsTest {
protected:
    DefinitionServiceTest() {
        context.brand.programName = "Grimsweep";
        context.brand.companyName = "Lanternfish Software";
    }
    std::string Page(std::string_view page, std::string_view query = "") {
        return std::string(kService) + std::string(page) + std::string(query);
    }
    std::string Dated(std::string_view date) {
        return Page(kDefinitionsPage,
                    "?prog=Grimsweep&comp=Lanternfish%20Software&date=" + std::string(date));
    }
    std::string CurrentDatePage() {
        return Page(kCurrentDatePage, "?prog=Grimsweep&comp=Lanternfish%20Software");
    }
    std::string StoredDate() { return ReadDefinitionsDate(sim.files, sim.system, context.dataFolder); }
    UpdateOutcome Update() { return FetchAndApplyUpdates(context, std::string(kService), &status); }

    static constexpr std::string_view kService = "http://defs.test";
    ui::Form form{host, "frmDownload"};
    ui::Control& status = form.Add("txtStatus", ui::ControlType::TextBox);
};

// Brand values and the date travel percent-encoded (UTF-8 bytes), so none can end a value early.
TEST_F(DefinitionServiceTest, QueryValuesArePercentEncoded) {
    context.brand.companyName = "Laterne & S\xC3\xB6hne=1+1";
    EXPECT_EQ(ProductQuery(context), "?prog=Grimsweep&comp=Laterne%20%26%20S%C3%B6hne%3D1%2B1");
    EXPECT_EQ(DefinitionsQuery(context, "9/1/2006 4:00:00 PM"),
              ProductQuery(context) + "&date=9%2F1%2F2006%204%3A00%3A00%20PM");
}

TEST_F(DefinitionServiceTest, NothingNewerMeansNoRecordsAreAskedFor) {
    sim.http.bodies[CurrentDatePage()] = "3/16/2006 12:00:00 AM PST\r\n";
    EXPECT_EQ(Update().changes, 0);
    EXPECT_EQ(sim.http.requests, (std::vector<std::string>{CurrentDatePage()}));

    sim.http.SetAnswers(CurrentDatePage(), {sim::SimAnswer::Unreachable()});
    EXPECT_EQ(Update().changes, 0) << "no network reads as nothing new";
    EXPECT_EQ(StoredDate(), "3/16/2006 12:00:00 AM");
}

TEST_F(DefinitionServiceTest, ChangesStoreTheDatePagesDateAndAFailedDatePageKeepsThePreviousOne) {
    sim.http.bodies[CurrentDatePage()] = "9/1/2006 4:00:00 PM PST\t\r\n";
    const std::string record =
        EncodeDefinitionLine("COOK") + "|ADD[DEF]" + EncodeDefinitionLine("trackmoth") + "=x";
    sim.http.bodies[Dated("3%2F16%2F2006")] = record;
    sim.http.bodies[Page(kDatePage)] = "9/2/2006 8:30:00 AM PST";
    const UpdateOutcome outcome = Update();
    EXPECT_EQ(outcome.changes, 1);
    EXPECT_EQ(outcome.newDate, "9/2/2006 8:30:00 AM") << "the date page's date, not the current-date page's";
    EXPECT_EQ(StoredDate(), "9/2/2006 8:30:00 AM");

    // The next update asks from the stored date; its date page fails: the date stays.
    sim.http.bodies[CurrentDatePage()] = "9/9/2006 1:00:00 PM";
    sim.http.bodies[Dated("9%2F2%2F2006%208%3A30%3A00%20AM")] = record;
    sim.http.bodies[Page(kDatePage)] = "<html>Server Error</html>";
    EXPECT_EQ(Update().changes, 1);
    EXPECT_EQ(StoredDate(), "9/2/2006 8:30:00 AM");
}

TEST_F(DefinitionServiceTest, FetchesReadIn256ByteChunksShowTheCountAndRefuseEndlessBodies) {
    const std::string url = "http://defs.test/exact";
    sim.http.bodies[url] = std::string(256, 'a');
    EXPECT_EQ(FetchUrlTextWithProgress(context, url, &status), std::string(256, 'a'));
    EXPECT_EQ(sim.http.Reads(url), 2) << "one chunk and the read that finds the end";
    sim.http.bodies[url] = std::string(1000, 'b');
    EXPECT_EQ(FetchUrlTextWithProgress(context, url, &status).size(), 1000u);
    EXPECT_EQ(status.Caption(), "Downloaded 1000 bytes.");
    sim.http.bodies[url] = "<html>404 Not Found</html>";
    EXPECT_EQ(FetchUrlText(context, url), "<html>404 Not Found</html>") << "any status: the body";
    EXPECT_EQ(FetchUrlText(context, "http://nowhere.test/"), "");

    sim.http.SetAnswers(url, {sim::SimAnswer::Endless(std::string(4096, 'x'))});
    EXPECT_EQ(FetchUrlText(context, url), "") << "a body past the cap counts as a failed fetch";
    EXPECT_EQ(sim.http.endlessOverruns, 0) << "the reader stopped at the cap";
}

TEST_F(DefinitionServiceTest, BrokenAndHostileAnswersChangeNothingAndAreAskedForAgain) {
    PutDefinitions(kFileDefinitionFile, {"keep.exe=Keeper|x"});
    const std::string before = sim.files.Contents(context.DataFile(kFileDefinitionFile));
    sim.http.bodies[CurrentDatePage()] = "9/1/2006 4:00:00 PM";
    sim.http.bodies[Page(kDatePage)] = "9/1/2006 4:00:00 PM";
    const std::string records = EncodeDefinitionLine("FILE") + "|ADD[DEF]" + EncodeDefinitionLine("new.exe") +
                                "=" + EncodeDefinitionLine("New") + "[BR]" + EncodeDefinitionLine("FILE") +
                                "|DEL[DEF]" + EncodeDefinitionLine("keep.exe");
    std::string garbage;
    for (int i = 0; i < 3000; ++i) {
        garbage += static_cast<char>((i * 7919 + 13) % 256);
    }
    garbage += "[BR]|[DEF]=|[br]";
    const std::vector<std::pair<const char*, sim::SimAnswer>> answers = {
        {"an error page", sim::SimAnswer::Body("<html><body>500 Internal Server Error</body></html>")},
        {"binary garbage", sim::SimAnswer::Body(garbage)},
        {"a body cut short", sim::SimAnswer::BreaksAfter(records, records.size() - 5)},
        {"an endless body", sim::SimAnswer::Endless(records + "[BR]")},
    };
    for (const auto& [what, answer] : answers) {
        sim.http.SetAnswers(Dated("3%2F16%2F2006"), {answer});
        EXPECT_EQ(Update().changes, 0) << what;
        EXPECT_EQ(sim.files.Contents(context.DataFile(kFileDefinitionFile)), before) << what;
        EXPECT_EQ(StoredDate(), "3/16/2006 12:00:00 AM") << what << ": the same records are asked for again";
        EXPECT_TRUE(sim.files.FindEntries(context.DataFile("*.new")).empty()) << what;
    }

    sim.http.bodies[CurrentDatePage()] = "tomorrow, probably";
    const std::size_t requests = sim.http.requests.size();
    EXPECT_EQ(Update().changes, 0) << "a current-date answer that is no date";
    EXPECT_EQ(sim.http.requests.size(), requests + 1) << "a nonsense date never asks for records";
}

} // namespace
} // namespace grimsweep
