// Signed Live Update end to end on the simulated machine: records published and signed by the service's
// side, served from the store, and checked by the client before anything is applied.
#include <gtest/gtest.h>

#include <map>

#include "../definitions/definitions_fixture.h"
#include "common/hex_text.h"
#include "definitions/definition_files.h"
#include "definitions/definition_status.h"
#include "update/definition_publisher.h"
#include "update/definition_service.h"
#include "update/definition_signature.h"
#include "update/definition_signing.h"
#include "update/definition_site.h"
#include "update/service_dates.h"
#include "update/update_records.h"

namespace grimsweep {
namespace {

constexpr std::string_view kService = "http://defs.test";

class SignedUpdateTest : public DefinitionsTest {
protected:
    SignedUpdateTest() {
        sim.system.SetNow({2026, 12, 9, 12, 0, 0});
        key = *sim.signatures->MakeKeyPair();
        other = *sim.signatures->MakeKeyPair();
        PutDefinitions(kFileDefinitionFile, {"keep.exe=Keeper|x"});
        Publish("9/1/2006 4:00:00 PM", "FILE|ADD|first.exe=First|x\n");
        Publish("10/1/2006 4:00:00 PM",
                "FILE|ADD|gloomupd.exe=Gloom Updater 6|x\n"
                "REG|ADD|run=Gloom Run|2^SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run^gloom|x\n");
        Publish("11/1/2006 4:00:00 PM", "FILE|ADD|third.exe=Third|x\n");
    }

    void Publish(std::string_view date, std::string_view plain) {
        std::string error;
        store += PublicationLines(date, plain, error).value();
    }
    std::string Signatures(const P256KeyPair& with) {
        return SignatureLines(ReadPublications(store), *sim.signatures, with).value();
    }
    // What the service answers a client at `date`.
    std::string Answer(std::string_view date, const std::string& signatures) {
        return RecordsAnswer(ReadPublications(store), signatures, ParseUsDateTime(date).value());
    }
    // Runs Live Update for a client at `date` that gets `answer` for its records.
    UpdateOutcome UpdateFrom(std::string_view date, const std::string& answer, std::string_view publicKey) {
        WriteDefinitionsDate(sim.files, sim.system, context.dataFolder, date);
        const std::string service(kService);
        sim.http.bodies[service + std::string(kCurrentDatePage) + ProductQuery(context)] =
            "11/1/2006 4:00:00 PM";
        sim.http.bodies[service + std::string(kDatePage)] = "12/31/2099";
        sim.http.bodies[service + std::string(kDefinitionsPage) +
                        DefinitionsQuery(context, UsDateTimeText(ParseUsDateTime(date).value()))] = answer;
        return FetchAndApplyUpdates(context, std::string(kService), nullptr, publicKey);
    }
    std::string Files() {
        std::string all;
        for (const auto& file : kDefinitionFiles) {
            all += sim.files.Contents(context.DataFile(file.name)) + "\n--\n";
        }
        return all;
    }
    std::string StoredDate() { return ReadDefinitionsDate(sim.files, sim.system, context.dataFolder); }

    P256KeyPair key;
    P256KeyPair other;
    std::string store;
};

TEST_F(SignedUpdateTest, ASignedAnswerForThisClientAppliesAndBringsItToTheSignedDate) {
    // A client between two publications gets the answer made for the earlier one.
    const std::string answer = Answer("9/15/2006", Signatures(key));
    const UpdateOutcome outcome = UpdateFrom("9/15/2006", answer, HexText(key.publicKey));
    EXPECT_EQ(outcome.failure, UpdateFailure::None);
    EXPECT_EQ(outcome.changes, 3);
    EXPECT_EQ(StoredDate(), "11/1/2006 4:00:00 PM") << "the signed date, not the date page's";
    const std::string files = Files();
    EXPECT_NE(files.find(EncodeDefinitionLine("gloomupd.exe")), std::string::npos);
    EXPECT_NE(files.find(EncodeDefinitionLine("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run^gloom")),
              std::string::npos);
    EXPECT_EQ(files.find(EncodeDefinitionLine("first.exe")), std::string::npos)
        << "published before the client";
}

TEST_F(SignedUpdateTest, AnythingButTheServicesSignatureForThisClientChangesNothing) {
    const std::string signatures = Signatures(key);
    const std::string signedAnswer = Answer("9/15/2006", signatures);
    std::string changed = signedAnswer;
    changed[changed.find(EncodeDefinitionLine("gloomupd"))] ^= 0x02;
    // An answer signed to a date a week ahead of the machine's clock.
    const std::string published = store;
    Publish("12/16/2026", "FILE|ADD|late.exe=Late|x\n");
    const std::string fromTheFuture = Answer("9/15/2006", Signatures(key));
    store = published;
    const struct {
        const char* what;
        std::string answer;
        std::string clientDate;
        std::string publicKey;
        SignatureRefusal refusal;
    } cases[] = {
        {"unsigned", Answer("9/15/2006", ""), "9/15/2006", HexText(key.publicKey), SignatureRefusal::Missing},
        {"another key", Answer("9/15/2006", Signatures(other)), "9/15/2006", HexText(key.publicKey),
         SignatureRefusal::Invalid},
        {"a byte changed", changed, "9/15/2006", HexText(key.publicKey), SignatureRefusal::Invalid},
        {"a byte more", signedAnswer + "\n", "9/15/2006", HexText(key.publicKey),
         SignatureRefusal::Malformed},
        {"a record after the signature", signedAnswer + "[BR]" + EncodeDefinitionLine("FILE") + "|ADD[DEF]x",
         "9/15/2006", HexText(key.publicKey), SignatureRefusal::Missing},
        {"an older answer replayed", Answer("8/1/2006", signatures), "10/15/2006", HexText(key.publicKey),
         SignatureRefusal::OtherStart},
        {"an answer for a later client", Answer("10/15/2006", signatures), "9/15/2006",
         HexText(key.publicKey), SignatureRefusal::OtherStart},
        {"a date past tomorrow", fromTheFuture, "9/15/2006", HexText(key.publicKey),
         SignatureRefusal::Future},
        {"a key that is no key", signedAnswer, "9/15/2006", "04zz", SignatureRefusal::Invalid},
    };
    for (const auto& c : cases) {
        const auto publicKey = BytesOfHex(c.publicKey);
        EXPECT_EQ(CheckSignedAnswer(*sim.signatures, publicKey.value_or(""), c.answer,
                                    ParseUsDateTime(c.clientDate).value(), sim.system.Now())
                      .refusal,
                  c.refusal)
            << c.what;
        const std::string before = Files();
        const UpdateOutcome outcome = UpdateFrom(c.clientDate, c.answer, c.publicKey);
        EXPECT_EQ(outcome.failure, UpdateFailure::Unverified) << c.what;
        EXPECT_EQ(outcome.changes, 0) << c.what;
        EXPECT_EQ(Files(), before) << c.what;
        EXPECT_EQ(ParseUsDateTime(StoredDate()), ParseUsDateTime(c.clientDate)) << c.what;
    }
}

TEST_F(SignedUpdateTest, AClientWithoutAKeySkipsTheSignatureRecord) {
    const UpdateOutcome outcome = UpdateFrom("9/15/2006", Answer("9/15/2006", Signatures(key)), "");
    EXPECT_EQ(outcome.failure, UpdateFailure::None);
    EXPECT_EQ(outcome.changes, 3) << "the same changes as the records alone";
    EXPECT_EQ(StoredDate(), "12/31/2099") << "the date page's date, as without signatures";
    EXPECT_EQ(Files().find(EncodeDefinitionLine(kSignatureKind)), std::string::npos);
}

TEST_F(SignedUpdateTest, DefinitionFilesThatCannotBeReplacedAreAFailureOfTheirOwn) {
    sim.files.SetMoveFails(context.DataFile(kFileDefinitionFile) + std::string(kPendingUpdateSuffix), true);
    const std::string before = Files();
    const UpdateOutcome outcome =
        UpdateFrom("9/15/2006", Answer("9/15/2006", Signatures(key)), HexText(key.publicKey));
    EXPECT_EQ(outcome.failure, UpdateFailure::NotSaved);
    EXPECT_EQ(Files(), before);
    EXPECT_EQ(StoredDate(), "9/15/2006");
}

TEST_F(SignedUpdateTest, TheStaticSiteHasAnAnswerThatEveryClientDateAccepts) {
    std::string signatures = Signatures(key);
    const ServiceFolder folder{[&](std::string_view name) -> std::optional<std::string> {
                                   return name == kPublishedFile    ? std::optional(store)
                                          : name == kSignaturesFile ? std::optional(signatures)
                                                                    : std::nullopt;
                               },
                               {},
                               {}};
    const auto render = [&] {
        std::map<std::string, std::string> site;
        for (SiteFile& file : RenderSiteContent(folder)) {
            site[file.path] = std::move(file.text);
        }
        return site;
    };
    std::map<std::string, std::string> site = render();
    EXPECT_EQ(site[std::string(kSiteDateFile)], "11/1/2006 4:00:00 PM");
    // Before the first publication, on each older one, between two, and a date the client could not read.
    for (const char* date :
         {"8/1/2006", "9/1/2006 4:00:00 PM", "9/15/2006", "10/1/2006 4:00:00 PM", "1/1/100"}) {
        const std::string client = UsDateTimeText(ParseUsDateTime(date).value());
        // The web server's choice: the file named by the client's date, else the one for any date.
        const auto named = site.find(SiteRecordsFile(client));
        if (named != site.end()) {
            EXPECT_EQ(named->second, Answer(client, signatures)) << "as the service answers " << date;
        }
        const UpdateOutcome outcome =
            UpdateFrom(client, named != site.end() ? named->second : site.at(std::string(kSiteAnyDateFile)),
                       HexText(key.publicKey));
        EXPECT_EQ(outcome.failure, UpdateFailure::None) << date;
        EXPECT_EQ(StoredDate(), "11/1/2006 4:00:00 PM") << date;
    }
    EXPECT_EQ(site.count(SiteRecordsFile("9/15/2006 12:00:00 AM")), 0u);
    // A store signed before the answer for any date existed: clients before the first publication still
    // accept the site's fallback.
    signatures.erase(signatures.rfind('\n', signatures.size() - 2) + 1);
    site = render();
    EXPECT_EQ(UpdateFrom("8/1/2006", site.at(std::string(kSiteAnyDateFile)), HexText(key.publicKey)).failure,
              UpdateFailure::None);
}

TEST(DefinitionKeyFile, KeysSurviveTheirFileAndAnythingElseIsRefused) {
    const P256KeyPair pair{std::string(32, '\x11'), "\x04" + std::string(64, '\x22')};
    EXPECT_EQ(ParseKeyFile(KeyFileText(pair))->privateKey, pair.privateKey);
    EXPECT_EQ(ParseKeyFile(KeyFileText(pair))->publicKey, pair.publicKey);
    EXPECT_EQ(DefinitionKeyLine(pair), "DefinitionKey=04" + std::string(128, '2'));
    for (const char* bad : {"", "private=11\npublic=04", "public=04" /* no private part */}) {
        EXPECT_FALSE(ParseKeyFile(bad)) << bad;
    }
}

} // namespace
} // namespace grimsweep
