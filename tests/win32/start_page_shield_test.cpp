// The start-page shield on the real registry under Wine, with the start page changed from outside by the
// system's own reg.exe, as another program would change it.
#include "shields/start_page_shield.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/context.h"
#include "core/settings_keys.h"
#include "platform/win32/win32_machine.h"
#include "shields/registry_text.h"
#include "ui/headless_host.h"
#include "win32/helper_programs.h"

namespace grimsweep::win32 {
namespace {

using namespace settings;

const std::string kKey(kStartPageKey);
const std::string kValue(kStartPageValue);

class StartPageShieldWineTest : public ::testing::Test {
protected:
    StartPageShieldWineTest() {
        RegistryValue value;
        if (machine.registry.QueryValue(RegistryRoot::CurrentUser, kKey, kValue, kKeyRead, value) ==
            kRegistryOk) {
            original_ = value;
        }
        context.settings.Write(kSectionOptions, kHomepage, "");
        host.onModal = [this](ui::Form& form) { question = form.Get(kStartPageAlertInfo).Caption(); };
    }
    ~StartPageShieldWineTest() override {
        if (original_) {
            machine.registry.SetValue(RegistryRoot::CurrentUser, kKey, kValue, *original_);
        } else {
            machine.registry.DeleteValue(RegistryRoot::CurrentUser, kKey, kValue);
        }
        machine.registry.DeleteKeyTree(RegistryRoot::CurrentUser,
                                       context.settings.SectionPath(kSectionOptions));
    }

    // reg.exe sets the start page; `data` is the rest of its command line (type and data).
    static bool RegAdd(const std::string& data) {
        HelperProcess reg("reg add \"HKCU\\" + kKey + "\" /v \"" + kValue + "\" " + data + " /f");
        return reg.Started() && reg.WaitForExit(30000) == std::optional<DWORD>(0);
    }
    std::string StartPage() {
        RegistryValue value;
        machine.registry.QueryValue(RegistryRoot::CurrentUser, kKey, kValue, kKeyRead, value);
        return value.text;
    }
    std::string Homepage() { return context.settings.Read(kSectionOptions, kHomepage, ""); }

    Win32Machine machine;
    HeadlessHost host;
    Context context{machine.View(), host};
    Skin skin;
    ui::Form owner{host, "FrmMain"};
    StartPageShield shield{context, skin, owner};
    std::string question;

private:
    std::optional<RegistryValue> original_;
};

TEST_F(StartPageShieldWineTest, APageChangedByRegExeIsNoticedAndSilentModeWritesItBackWithinOneTick) {
    ASSERT_TRUE(RegAdd("/d \"http://home.example/\""));
    shield.Tick();
    ASSERT_EQ(Homepage(), "http://home.example/") << "the first tick accepts the page set";

    ASSERT_TRUE(RegAdd("/d \"http://hijack.example/\""));
    shield.Tick();
    EXPECT_NE(question.find("Click No to change your homepage to:\r\nhttp://hijack.example/"),
              std::string::npos)
        << question;
    EXPECT_EQ(StartPage(), "http://hijack.example/") << "the alert closed without an answer";

    context.settings.WriteTruth(kSectionOptions, kAskBeforeRestoring, false);
    context.settings.WriteTruth(kSectionOptions, kRestoreSilently, true);
    shield.Tick();
    EXPECT_EQ(StartPage(), "http://home.example/");
    // reg.exe reads back what the shield wrote.
    HelperProcess query("reg query \"HKCU\\" + kKey + "\" /v \"" + kValue + "\"");
    EXPECT_EQ(query.WaitForExit(30000), std::optional<DWORD>(0));
}

TEST_F(StartPageShieldWineTest, LongStringsExpandableStringsAndNumbersAreReadWhole) {
    using enum RegistryTextRead;
    const std::string longPage = "http://home.example/?" + std::string(5000, 'q');
    ASSERT_TRUE(RegAdd("/t REG_SZ /d \"" + longPage + "\""));
    std::string text;
    ASSERT_EQ(ReadRegistryString(machine.registry, RegistryRoot::CurrentUser, kKey, kValue, text), Read);
    EXPECT_EQ(text, longPage);

    // A long protected page goes back whole.
    context.settings.Write(kSectionOptions, kHomepage, longPage);
    context.settings.WriteTruth(kSectionOptions, kAskBeforeRestoring, false);
    context.settings.WriteTruth(kSectionOptions, kRestoreSilently, true);
    ASSERT_TRUE(RegAdd("/d \"http://hijack.example/\""));
    shield.Tick();
    EXPECT_EQ(StartPage(), longPage);

    ASSERT_TRUE(RegAdd("/t REG_EXPAND_SZ /d \"%SystemDrive%\\start.htm\""));
    ASSERT_EQ(ReadRegistryString(machine.registry, RegistryRoot::CurrentUser, kKey, kValue, text), Read);
    EXPECT_EQ(text, "%SystemDrive%\\start.htm") << "read as stored, not expanded";

    ASSERT_TRUE(RegAdd("/t REG_DWORD /d 42"));
    ASSERT_EQ(ReadRegistryString(machine.registry, RegistryRoot::CurrentUser, kKey, kValue, text), Read);
    EXPECT_EQ(text, "42");

    // Gone: the read says so, and the silent shield writes the protected page back.
    ASSERT_EQ(machine.registry.DeleteValue(RegistryRoot::CurrentUser, kKey, kValue), kRegistryOk);
    EXPECT_EQ(ReadRegistryString(machine.registry, RegistryRoot::CurrentUser, kKey, kValue, text), Missing);
    shield.Tick();
    EXPECT_EQ(Homepage(), longPage);
    EXPECT_EQ(StartPage(), longPage);
}

} // namespace
} // namespace grimsweep::win32
