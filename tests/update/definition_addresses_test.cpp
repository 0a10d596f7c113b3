// The address list of the definition pages: the website it is built on and Shift with a press on the
// Live Update buttons, which shows the list instead of updating.
#include <gtest/gtest.h>

#include "../app/main_window_fixture.h"
#include "update/definition_addresses.h"

namespace grimsweep {
namespace {

TEST(DefinitionWebsite, AnUnconfiguredWebsiteGivesOursAnyOtherItsHostWithWww) {
    for (std::string_view unconfigured :
         {"your-website.example", "www.Your-Website.Example/download", "", "  "}) {
        EXPECT_EQ(DefinitionWebsite(unconfigured), kVendorWebsite) << "'" << unconfigured << "'";
    }
    EXPECT_EQ(DefinitionWebsite("beetle-labs.example"), "http://www.beetle-labs.example");
    EXPECT_EQ(DefinitionWebsite("www.beetle-labs.example"), "http://www.beetle-labs.example")
        << "no second www.";
    EXPECT_EQ(DefinitionWebsite("downloads.www.beetle-labs.example"),
              "http://downloads.www.beetle-labs.example")
        << "a www. anywhere counts";
    EXPECT_EQ(DefinitionWebsite("http://beetle-labs.example/support/index.htm"),
              "http://www.beetle-labs.example")
        << "scheme and path go";
    EXPECT_EQ(DefinitionWebsite("HTTP://WWW.Beetle-Labs.example/"), "http://WWW.Beetle-Labs.example");
    EXPECT_EQ(DefinitionWebsite("https://beetle-labs.example/"), "http://www.beetle-labs.example");
}

TEST(DefinitionWebsite, TheListIsTheEightPagesInOrderInLowerCase) {
    EXPECT_EQ(DefinitionAddresses("HTTP://Beetle-Labs.example/Support"),
              (std::vector<std::string>{
                  "http://www.beetle-labs.example/definitions/version/r.htm",
                  "http://www.beetle-labs.example/definitions/version/f.htm",
                  "http://www.beetle-labs.example/definitions/version/e.htm",
                  "http://www.beetle-labs.example/definitions/version/c.htm",
                  "http://www.beetle-labs.example/definitions/data/blockedcookies.dat",
                  "http://www.beetle-labs.example/definitions/data/registrydefinition.dat",
                  "http://www.beetle-labs.example/definitions/data/filedefinition.dat",
                  "http://www.beetle-labs.example/definitions/data/exedefinition.dat",
              }));
}

class AddressListTest : public MainWindowTest {
protected:
    AddressListTest() { Open(); }

    // Nothing of an update happened: no request, no download window, no notice.
    void ExpectNoUpdate(std::string_view after) {
        EXPECT_TRUE(sim.http.requests.empty()) << after;
        EXPECT_FALSE(window->Update().Download().Window().Loaded()) << after;
        EXPECT_FALSE(window->Update().Notice().Window().Loaded()) << after;
    }
};

TEST_F(AddressListTest, ShiftAndAPressOnALiveUpdateButtonShowsTheListAndStartsNoUpdate) {
    context->brand.website = "beetle-labs.example/support";
    const std::size_t before = host->Shown().size();
    Control("cmdUpdate").ClickWithMouse({.shift = true});
    ExpectNoUpdate("after Shift and a click on Live Update");
    ASSERT_EQ(host->Shown().size(), before + 1);
    const MessageBoxRequest box = host->Shown().back();
    EXPECT_EQ(box.text, "http://www.beetle-labs.example/definitions/version/r.htm\r\n"
                        "http://www.beetle-labs.example/definitions/version/f.htm\r\n"
                        "http://www.beetle-labs.example/definitions/version/e.htm\r\n"
                        "http://www.beetle-labs.example/definitions/version/c.htm\r\n"
                        "http://www.beetle-labs.example/definitions/data/blockedcookies.dat\r\n"
                        "http://www.beetle-labs.example/definitions/data/registrydefinition.dat\r\n"
                        "http://www.beetle-labs.example/definitions/data/filedefinition.dat\r\n"
                        "http://www.beetle-labs.example/definitions/data/exedefinition.dat");
    EXPECT_EQ(box.title, context->brand.programName);
    EXPECT_EQ(box.buttons, MessageBoxButtons::Ok);

    Control("cmdLiveUpdate").ClickWithMouse({.shift = true});
    Control("cmdUpdate").ClickWithMouse({.button = ui::MouseButton::Right, .shift = true});
    ExpectNoUpdate("after Shift and a click on Run Live Update Now, and Shift and a right press");
    ASSERT_EQ(host->Shown().size(), before + 3);
    EXPECT_EQ(host->Shown()[before + 1].text, box.text);
    EXPECT_EQ(host->Shown()[before + 2].text, box.text);
}

TEST_F(AddressListTest, APlainClickUpdatesWithoutTheList) {
    const std::size_t before = host->Shown().size();
    Control("cmdUpdate").ClickWithMouse({});
    EXPECT_FALSE(sim.http.requests.empty()) << "the update asked the service";
    EXPECT_TRUE(window->Update().Notice().Window().Loaded());
    EXPECT_EQ(host->Shown().size(), before) << "no box";
}

} // namespace
} // namespace grimsweep
