#include <gtest/gtest.h>

#include "removal/protected_keys.h"

namespace grimsweep {
namespace {

TEST(ProtectedKeys, SystemKeysInEveryHiveViewAndSpellingAreProtectedAndVendorKeysAreNot) {
    using enum RegistryRoot;
    const struct {
        RegistryRoot root;
        const char* key;
        bool protectedKey;
    } cases[] = {
        {CurrentUser, "", true},
        {CurrentUser, "\\", true},
        {CurrentUser, "Software", true},
        {CurrentUser, "software\\\\", true},
        {CurrentUser, "Environment", true},
        {LocalMachine, "SOFTWARE\\Classes", true},
        {LocalMachine, "Software\\Classes\\CLSID", true},
        {LocalMachine, "Software\\Classes\\exefile", true},
        {ClassesRoot, "CLSID", true},
        {ClassesRoot, "CLSID\\{0A0B0C0D-1111-2222-3333-444455556666}", false},
        {CurrentUser, "Software\\Microsoft", true},
        {CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion", true},
        {CurrentUser, "Software/Microsoft/Windows/CurrentVersion/Run", true},
        {LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce", true},
        {LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer", true},
        {LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects",
         true},
        {LocalMachine,
         "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects\\{0A0B0C0D-1111}",
         false},
        {LocalMachine, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon", true},
        {LocalMachine, "Software\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Run", true},
        {LocalMachine, "Software\\Wow6432Node", true},
        {LocalMachine, "Software\\Wow6432Node\\Gloom", false},
        {LocalMachine, "Software\\Classes\\Wow6432Node\\CLSID", true},
        {LocalMachine, "Software\\Policies\\Microsoft\\Internet Explorer", true},
        {LocalMachine, "SYSTEM", true},
        {LocalMachine, "System\\CurrentControlSet\\Services", true},
        {LocalMachine, "System\\ControlSet001\\Services", true},
        {LocalMachine, "System\\CurrentControlSet\\Services\\GloomSvc", false},
        {Users, "S-1-5-21-1-2-3-1001", true},
        {Users, "S-1-5-21-1-2-3-1001\\Software\\Microsoft\\Windows\\CurrentVersion\\Run", true},
        {Users, "S-1-5-21-1-2-3-1001_Classes\\CLSID", true},
        {Users, ".DEFAULT\\Software\\Gloom", false},
        {CurrentUser, "Software\\Gloom", false},
        {CurrentUser, "Software\\Microsoft\\Internet Explorer\\Toolbar\\Gloom", false},
        {PerformanceData, "Anything", true},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(IsProtectedRegistryKey(row.root, row.key), row.protectedKey) << row.key;
    }
}

} // namespace
} // namespace grimsweep
