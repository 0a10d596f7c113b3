// The local definition service: published records that Live Update applies as the author wrote them,
// the dates and their strict order, the pages answered from the store, and input refused whole.
#include "update/definition_publisher.h"

#include <gtest/gtest.h>

#include <map>

#include "../definitions/definitions_fixture.h"
#include "definitions/definition_files.h"
#include "update/service_dates.h"
#include "update/update_records.h"

namespace grimsweep {
namespace {

class DefinitionPublisherTest : public DefinitionsTest {
protected:
    std::vector<std::string> Plain(std::string_view file) {
        std::vector<std::string> lines;
        for (const std::string& line : Split(sim.files.Contents(context.DataFile(file)), "\r\n")) {
            if (!line.empty()) {
                lines.push_back(DecodeDefinitionLine(line));
            }
        }
        return lines;
    }

    // Publishes into the in-memory store; the lines must be accepted.
    void Publish(std::string_view date, std::string_view plainLines) {
        std::string error;
        const auto lines = PublicationLines(date, plainLines, error);
        ASSERT_TRUE(lines) << error;
        store[std::string(kPublishedFile)] += *lines;
    }

    PageAnswer Get(std::string_view target) { return AnswerPage(folder, target); }

    std::map<std::string, std::string, std::less<>> store;
    ServiceFolder folder{[this](std::string_view name) -> std::optional<std::string> {
                             const auto found = store.find(name);
                             if (found == store.end()) {
                                 return std::nullopt;
                             }
                             return found->second;
                         },
                         [this](std::string_view name, std::string_view text) {
                             store[std::string(name)] += text;
                             return true;
                         },
                         {}};
};

TEST_F(DefinitionPublisherTest, PublishedRecordsApplyAsTheAuthorWroteThem) {
    PutDefinitions(kFileDefinitionFile, {"old.exe=Old Threat|Adware", "keep.exe=Keep|Adware"});
    Publish("9/1/2006 4:00:00 PM", "EXE|ADD|evil.exe=Evil Threat|details\r\n"
                                   "\n"
                                   "REG|ADD|gloom=Gloom Toolbar|2^SOFTWARE\\Gloom^|Adware\n"
                                   "COOK|ADD|trackmoth=x\n"
                                   "FILE|DEL|old.exe\n"
                                   "SAFE|ADD|tab\there=\xe9t\xe9 \xfe|end");
    const std::string text = Get("/asp/getDefsNEW.asp?prog=Grimsweep&comp=Us&date=3/16/2006").body;

    const auto records = ParseUpdateRecords(text);
    ASSERT_EQ(records.size(), 5U);
    EXPECT_EQ(records[0].kind, "EXE");
    EXPECT_EQ(records[3].action, "DEL");
    EXPECT_EQ(ApplyUpdateRecords(context, text, nullptr), 6);
    EXPECT_EQ(Plain(kFileDefinitionFile),
              (std::vector<std::string>{"keep.exe=Keep|Adware", "evil.exe=Evil Threat|details"}));
    EXPECT_EQ(Plain(kExeDefinitionFile), (std::vector<std::string>{"evil.exe=Evil Threat|details"}));
    EXPECT_EQ(Plain(kRegistryDefinitionFile),
              (std::vector<std::string>{"2^SOFTWARE\\Gloom^^=Gloom Toolbar|Adware"}));
    EXPECT_EQ(Plain(kBlockedCookiesFile), (std::vector<std::string>{"trackmoth"}));
    EXPECT_EQ(Plain(kSafetyFile), (std::vector<std::string>{"SAFE|tab\there=\xe9t\xe9 \xfe|end"}))
        << "tabs and high bytes keep their store line and come back unchanged";
}

TEST_F(DefinitionPublisherTest, DatePagesAnswerTheNewestPublicationNotTheLast) {
    EXPECT_EQ(Get("/asp/currentDateNEW.asp?prog=A&comp=B").body, "") << "nothing published yet";
    Publish("9/1/2006 4:00:00 PM", "COOK|ADD|late=x");
    Publish("3/20/2006", "COOK|ADD|early=x");
    EXPECT_EQ(Get("/asp/currentDateNEW.asp?prog=A&comp=B").body, "9/1/2006 4:00:00 PM");
    EXPECT_EQ(Get("/ASP/Date.asp").body, "9/1/2006 4:00:00 PM");
    const auto newest = NewestDate(ReadPublications(store[std::string(kPublishedFile)]));
    ASSERT_TRUE(newest);
    EXPECT_EQ(newest->hour, 16);
}

TEST_F(DefinitionPublisherTest, DefinitionsPageSendsOnlyWhatIsStrictlyLaterInPublicationOrder) {
    Publish("3/20/2006", "COOK|ADD|first=x");
    Publish("9/1/2006 4:00:00 PM", "COOK|ADD|second=x\nCOOK|ADD|third=x");
    Publish("4/1/2006", "COOK|ADD|fifth=x");
    const auto names = [&](std::string_view target) {
        std::vector<std::string> found;
        for (const UpdateRecord& record : ParseUpdateRecords(Get(target).body)) {
            found.push_back(record.body.substr(0, record.body.find('=')));
        }
        return found;
    };
    auto plain = [](std::vector<std::string> encoded) {
        for (std::string& name : encoded) {
            name = DecodeDefinitionLine(name);
        }
        return encoded;
    };
    EXPECT_EQ(plain(names("/asp/getDefsNEW.asp?prog=A&comp=B&date=3/16/2006")),
              (std::vector<std::string>{"first", "second", "third", "fifth"}));
    EXPECT_EQ(plain(names("/asp/getDefsNEW.asp?prog=A&comp=B&date=3/20/2006")),
              (std::vector<std::string>{"second", "third", "fifth"}))
        << "a publication on the asked date itself is already held";
    EXPECT_EQ(plain(names("/asp/getDefsNEW.asp?prog=A&comp=B&date=9/1/2006 3:59:59 PM")),
              (std::vector<std::string>{"second", "third"}))
        << "the date as the client writes it, blanks and all";
    EXPECT_EQ(plain(names("/asp/getDefsNEW.asp?date=9/1/2006%204:00:00%20PM&prog=A")),
              (std::vector<std::string>{}));
    EXPECT_EQ(Get("/asp/getDefsNEW.asp?prog=A&comp=B&date=soon").status, 400);
    EXPECT_EQ(Get("/asp/getDefsNEW.asp?prog=A&comp=B").status, 400);
}

TEST_F(DefinitionPublisherTest, BadDateOrAnyBadLineRefusesTheWholePublication) {
    std::string error;
    EXPECT_FALSE(PublicationLines("13/1/2006", "COOK|ADD|a=x", error));
    EXPECT_FALSE(PublicationLines("2/30/2006", "COOK|ADD|a=x", error));
    for (const char* line : {"COOK|ADD|a=x\nCOOK|add|b=x", "COOK|ADD|", "|ADD|a=x", "COOK|a=x", "COOK",
                             "COOK|MOVE|a=x", "COOK|ADD|a\x03=x"}) {
        error.clear();
        EXPECT_FALSE(PublicationLines("3/20/2006", line, error)) << line;
        EXPECT_FALSE(error.empty()) << line;
    }
    // Only "@" and DEL travel as the separators "=" and "|": the message names the character and the line.
    const struct {
        const char* lines;
        const char* error;
    } kRefused[] = {
        {"COOK|ADD|a=x\nFILE|ADD|mail@gloom.exe=Gloom", "line 2 holds \"@\", which would travel as the "
                                                        "record separator \"=\": the service cannot send it"},
        {"FILE|DEL|gloom\x7F.exe",
         "line 1 holds DEL (0x7F), which would travel as the record separator \"|\""},
        {"@EXE|ADD|a=x", "line 1 holds \"@\""},
        {"FILE|ADD|note.txt=Gloom C#", "line 1 starts or ends with \"#\""},
        {"#FILE|ADD|a=x", "line 1 starts or ends with \"#\""},
    };
    for (const auto& refused : kRefused) {
        error.clear();
        EXPECT_FALSE(PublicationLines("3/20/2006", refused.lines, error)) << refused.lines;
        EXPECT_TRUE(error.starts_with(refused.error)) << error;
    }
}

// Names holding "u" and "6", which an earlier shift sent as separators, arrive as they were published.
TEST_F(DefinitionPublisherTest, RunKeyAndUpdaterNamesArriveIntact) {
    PutDefinitions(kFileDefinitionFile, {"item16.dll=Old Threat|[system]"});
    Publish(
        "9/1/2006 4:00:00 PM",
        "EXE|ADD|gloomupd.exe=Gloom Updater 6|[progfil]Gloom Toolbar|Adware\n"
        "REG|ADD|GloomUpdate=Gloom Run 6|2^Software\\Microsoft\\Windows\\CurrentVersion\\Run^GloomUpdate|u6\n"
        "FILE|DEL|item16.dll");
    const std::string text = Get("/asp/getDefsNEW.asp?prog=Grimsweep&comp=Us&date=3/16/2006").body;
    EXPECT_EQ(ApplyUpdateRecords(context, text, nullptr), 4);
    EXPECT_EQ(Plain(kFileDefinitionFile),
              (std::vector<std::string>{"gloomupd.exe=Gloom Updater 6|[progfil]Gloom Toolbar|Adware"}));
    EXPECT_EQ(Plain(kExeDefinitionFile),
              (std::vector<std::string>{"gloomupd.exe=Gloom Updater 6|[progfil]Gloom Toolbar|Adware"}));
    EXPECT_EQ(Plain(kRegistryDefinitionFile),
              (std::vector<std::string>{
                  "2^Software\\Microsoft\\Windows\\CurrentVersion\\Run^GloomUpdate^=Gloom Run 6|u6"}));
}

TEST_F(DefinitionPublisherTest, OtherPagesLogLocalizeOrAreNotFound) {
    EXPECT_EQ(Get("/asp/getData.asp?prog=A&comp=B&data=x%20y").body, "Added");
    EXPECT_EQ(Get("/asp/getData.asp?second=2").body, "Added");
    EXPECT_EQ(store[std::string(kDataLogFile)], "prog=A&comp=B&data=x%20y\nsecond=2\n");

    EXPECT_EQ(Get("/Languages/21/Localization.xml").status, 404);
    store[std::string(kLocalizationFile)] = "<strings/>";
    const PageAnswer xml = Get("/Languages/21/Localization.xml");
    EXPECT_EQ(xml.status, 200);
    EXPECT_EQ(xml.body, "<strings/>");

    EXPECT_EQ(Get("/asp/other.asp").status, 404);
    EXPECT_EQ(Get("/asp/date.aspx").status, 404);
}

TEST_F(DefinitionPublisherTest, RequestLinesAndResponses) {
    EXPECT_EQ(RequestTarget("GET /asp/date.asp HTTP/1.1\r\nHost: x\r\n\r\n"), "/asp/date.asp");
    EXPECT_EQ(RequestTarget("GET /a?date=9/1/2006 4:00:00 PM HTTP/1.0\n\n"), "/a?date=9/1/2006 4:00:00 PM");
    EXPECT_FALSE(RequestTarget("POST /asp/date.asp HTTP/1.1\r\n\r\n"));
    EXPECT_FALSE(RequestTarget("GET /asp/date.asp\r\n\r\n"));
    EXPECT_FALSE(RequestTarget(""));
    EXPECT_EQ(ResponseText({404, "gone"}), "HTTP/1.1 404 Not Found\r\nContent-Type: text/plain\r\n"
                                           "Content-Length: 4\r\nConnection: close\r\n\r\ngone");
}

} // namespace
} // namespace grimsweep
