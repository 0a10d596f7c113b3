#include "app/console_update.h"

#include <gtest/gtest.h>

#include <sstream>

#include "../definitions/definitions_fixture.h"
#include "update/definition_service.h"
#include "update/service_addresses.h"

namespace grimsweep {
namespace {

class ConsoleUpdateTest : public DefinitionsTest {
protected:
    std::string CurrentDatePage(const std::string& service) {
        return service + std::string(kCurrentDatePage) + ProductQuery(context);
    }
    std::ostringstream out;
};

TEST_F(ConsoleUpdateTest, TheIniNamesTheServiceAndAnUnreachableOneEndsWithTheErrorCode) {
    EXPECT_EQ(RunConsoleUpdate(context, out), 2) << "nothing answers at the compiled-in address here";
    EXPECT_NE(out.str().find("Definition service: http://127.0.0.1:8080\n"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("could not be reached"), std::string::npos);

    sim.files.PutFile(context.ApplicationFile(kServicesFileName),
                      "[Services]\r\nDefinitions=http://defs.test\r\n");
    sim.http.bodies[CurrentDatePage("http://defs.test")] = "3/16/2006 12:00:00 AM PST";
    out.str("");
    EXPECT_EQ(RunConsoleUpdate(context, out), 0);
    EXPECT_NE(out.str().find("Changes: 0\nDefinitions date: 3/16/2006 12:00:00 AM PST\n"), std::string::npos)
        << out.str();
}

TEST_F(ConsoleUpdateTest, AnAnswerThatIsNotWholeEndsWithTheErrorCodeAndSaysWhy) {
    sim.files.PutFile(context.ApplicationFile(kServicesFileName),
                      "[Services]\r\nDefinitions=http://defs.test\r\n");
    sim.http.bodies[CurrentDatePage("http://defs.test")] = "9/1/2006 4:00:00 PM PST";
    EXPECT_EQ(RunConsoleUpdate(context, out), 2) << "the records page does not answer";
    EXPECT_NE(out.str().find("nothing was changed"), std::string::npos) << out.str();
}

} // namespace
} // namespace grimsweep
