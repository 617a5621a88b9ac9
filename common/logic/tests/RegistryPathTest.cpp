#include <gtest/gtest.h>

#include "RegistryPath.h"

namespace vorlan {
namespace {

TEST(RegistryPathTest, Split) {
    struct Case {
        const char* path;
        bool splits;
        RegistryRoot root;
        const char* subKey;
        const char* value;
    };
    const Case cases[] = {
        {"HKEY_CURRENT_USER\\A\\B\\V", true, RegistryRoot::CurrentUser, "A\\B", "V"},
        {"hkey_local_machine\\K\\", true, RegistryRoot::LocalMachine, "K", ""},
        {"HKEY_CLASSES_ROOT\\.xml\\Content Type", true, RegistryRoot::ClassesRoot, ".xml", "Content Type"},
        {"HKEY_USERS\\\\V", true, RegistryRoot::Users, "", "V"},
        {"Hkey_Current_Config\\K\\V", true, RegistryRoot::CurrentConfig, "K", "V"},
        {"HKEY_DYN_DATA\\K\\V", true, RegistryRoot::DynData, "K", "V"},
        {"HKEY_CURRENT_USER\\V", false, {}, "", ""},
        {"HKEY_CURRENT_USER", false, {}, "", ""},
        {"HKLM\\A\\V", false, {}, "", ""},
        {"\\SOFTWARE\\Dravenhall\\Vorlan\\PluginConfig", false, {}, "", ""},
    };
    for (const Case& c : cases) {
        RegistryRoot root = RegistryRoot::DynData;
        std::string subKey = "untouched", value = "untouched";
        ASSERT_EQ(SplitRegistryPathText(c.path, root, subKey, value), c.splits) << c.path;
        if (!c.splits) {
            EXPECT_EQ(subKey, "untouched") << c.path;
            continue;
        }
        EXPECT_EQ(root, c.root) << c.path;
        EXPECT_EQ(subKey, c.subKey) << c.path;
        EXPECT_EQ(value, c.value) << c.path;
    }
}

TEST(RegistryPathTest, SplitWide) {
    RegistryRoot root{};
    String16 subKey, value;
    ASSERT_TRUE(SplitRegistryPathText(VORLAN_U16("HKEY_LOCAL_MACHINE\\SOFTWARE\\Dravenhall\\Vorlan\\TwoWaySyncData"),
                                      root, subKey, value));
    EXPECT_EQ(root, RegistryRoot::LocalMachine);
    EXPECT_EQ(subKey, VORLAN_U16("SOFTWARE\\Dravenhall\\Vorlan"));
    EXPECT_EQ(value, VORLAN_U16("TwoWaySyncData"));
    EXPECT_FALSE(SplitRegistryPathText(VORLAN_U16("HKEY_NOWHERE\\K\\V"), root, subKey, value));
}

}  // namespace
}  // namespace vorlan
