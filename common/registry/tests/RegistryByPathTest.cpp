#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "MapStrToStrReg.h"
#include "RegistryByPath.h"
#include "UserOrMachine.h"

namespace vorlan {
namespace {

// A key of its own under HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE, removed
// with everything below it afterwards.
class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        name_ = "Software\\VorlanTest-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(GetTickCount64());
        settings_ = "\\" + name_ + "\\Vorlan\\";
    }
    void TearDown() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, name_.c_str());
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, name_.c_str());
    }
    std::string User(const std::string& rest) const { return "HKEY_CURRENT_USER\\" + name_ + "\\" + rest; }
    std::string Machine(const std::string& rest) const { return "HKEY_LOCAL_MACHINE\\" + name_ + "\\" + rest; }
    void SetRaw(const std::string& path, DWORD type, const void* data, DWORD size) {
        ASSERT_EQ(RegSetValueByPath(path, type, static_cast<const BYTE*>(data), size, FALSE), ERROR_SUCCESS) << path;
    }

    std::string name_, settings_;
};

TEST_F(RegistryTest, SplitGivesThePredefinedKeys) {
    struct Case {
        const char* path;
        HKEY root;
    };
    const Case cases[] = {
        {"HKEY_CLASSES_ROOT\\K\\V", HKEY_CLASSES_ROOT},     {"hkey_current_user\\K\\V", HKEY_CURRENT_USER},
        {"HKEY_LOCAL_MACHINE\\K\\V", HKEY_LOCAL_MACHINE},   {"HKEY_USERS\\K\\V", HKEY_USERS},
        {"HKEY_CURRENT_CONFIG\\K\\V", HKEY_CURRENT_CONFIG}, {"HKEY_DYN_DATA\\K\\V", HKEY_DYN_DATA},
    };
    for (const Case& c : cases) {
        HKEY root = nullptr;
        EXPECT_TRUE(SplitRegistryPath(c.path, &root, nullptr, nullptr)) << c.path;
        EXPECT_EQ(root, c.root) << c.path;
    }
    HKEY root = HKEY_USERS;
    EXPECT_FALSE(SplitRegistryPath("HKLM\\K\\V", &root, nullptr, nullptr));
    EXPECT_EQ(root, HKEY_USERS) << "an unknown root fails and leaves the caller's value";
    EXPECT_EQ(RegWriteDword("HKLM\\K\\V", 1), -1);
    EXPECT_EQ(RegWriteDword("HKEY_CURRENT_USER\\V", 1), -1) << "one backslash";
}

TEST_F(RegistryTest, StringReaders) {
    const std::string fits(999, 'x'), tooLong(1000, 'y');
    RegWriteString(User("K\\Fits"), fits.c_str());
    RegWriteString(User("K\\TooLong"), tooLong.c_str());
    RegWriteString(User("K\\Short"), "short");
    RegWriteString(User("K\\Longer"), "longer text");
    RegWriteString(User("K\\"), "default value");
    RegWriteString(User("K\\Utf8"), "Caf\xC3\xA9 \xE4\xB8\xAD");
    std::string accents;
    for (int i = 0; i < 300; ++i) accents += "\xC3\xA9";
    RegWriteString(User("K\\Accents"), accents.c_str());
    SetRaw(User("K\\Unterminated"), REG_SZ, "abcdefgh", 8);
    SetEnvironmentVariableA("VORLAN_TEST_DIR", "C:\\Program Files\\Dravenhall\\Vorlan");
    const char* expandable = "%VORLAN_TEST_DIR%\\x.dll";
    SetRaw(User("K\\Expand"), REG_EXPAND_SZ, expandable, static_cast<DWORD>(std::strlen(expandable) + 1));
    RegWriteDword(User("K\\Number"), 7);

    struct Case {
        const char* note;
        std::string path;
        size_t bufferSize;
        LONG result;
        std::string text;
    };
    const Case cases[] = {
        {"999 characters fit 1000 bytes", User("K\\Fits"), 1000, ERROR_SUCCESS, fits},
        {"1000 characters do not", User("K\\TooLong"), 1000, ERROR_MORE_DATA, ""},
        {"fits a small buffer", User("K\\Short"), 8, ERROR_SUCCESS, "short"},
        {"does not fit a small buffer", User("K\\Longer"), 8, ERROR_MORE_DATA, ""},
        {"the key's default value", User("K\\"), 100, ERROR_SUCCESS, "default value"},
        {"UTF-8 text", User("K\\Utf8"), 100, ERROR_SUCCESS, "Caf\xC3\xA9 \xE4\xB8\xAD"},
        {"UTF-8 bytes, not characters, fill the buffer", User("K\\Accents"), 601, ERROR_SUCCESS, accents},
        {"one byte short", User("K\\Accents"), 600, ERROR_MORE_DATA, ""},
        {"stored without terminator", User("K\\Unterminated"), 9, ERROR_SUCCESS, "abcdefgh"},
        {"no room left for the terminator", User("K\\Unterminated"), 8, ERROR_MORE_DATA, ""},
        {"expanded", User("K\\Expand"), 100, ERROR_SUCCESS, "C:\\Program Files\\Dravenhall\\Vorlan\\x.dll"},
        {"the text fits, its expansion does not", User("K\\Expand"), 30, ERROR_MORE_DATA, ""},
        {"a DWORD is not a string", User("K\\Number"), 100, ERROR_INVALID_DATATYPE, ""},
        {"missing value", User("K\\Missing"), 100, ERROR_FILE_NOT_FOUND, ""},
        {"missing key", User("Nowhere\\V"), 100, ERROR_FILE_NOT_FOUND, ""},
        {"unusable path", "HKCU\\K\\V", 100, -1, ""},
    };
    for (const Case& c : cases) {
        std::vector<char> buffer(c.bufferSize + 16, '#');
        EXPECT_EQ(RegReadString(c.path, buffer.data(), c.bufferSize), c.result) << c.note;
        EXPECT_EQ(std::string(buffer.data()), c.text) << c.note;
        EXPECT_EQ(std::string(buffer.data() + c.bufferSize, 16), std::string(16, '#')) << c.note << ": overrun";
    }
    std::string text = "stale";
    EXPECT_EQ(RegReadString(User("K\\Short"), text), ERROR_SUCCESS);
    EXPECT_EQ(text, "short");
    EXPECT_EQ(RegReadString(User("K\\TooLong"), text), ERROR_MORE_DATA);
    EXPECT_EQ(text, "");
}

TEST_F(RegistryTest, DwordAndRawReaders) {
    RegWriteDword(User("K\\Number"), 0x12345678);
    RegWriteString(User("K\\Text"), "1");
    struct Case {
        const char* note;
        std::string path;
        LONG result;
        DWORD value;
    };
    const Case cases[] = {
        {"a DWORD", User("K\\Number"), ERROR_SUCCESS, 0x12345678},
        {"text is not a DWORD", User("K\\Text"), ERROR_INVALID_DATATYPE, 3000},
        {"missing value", User("K\\Missing"), ERROR_FILE_NOT_FOUND, 3000},
        {"missing key", User("Nowhere\\V"), ERROR_FILE_NOT_FOUND, 3000},
    };
    for (const Case& c : cases) {
        DWORD value = 3000;
        EXPECT_EQ(RegReadDword(c.path, &value), c.result) << c.note;
        EXPECT_EQ(value, c.value) << c.note;
    }

    BYTE data[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    DWORD type = REG_BINARY, size = sizeof data;
    EXPECT_EQ(RegQueryValueByPath(User("Nowhere\\V"), data, &type, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(data[0], 0);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    size = sizeof data;
    EXPECT_EQ(RegQueryValueByPath(User("K\\Number"), data, &type, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(size, 4u);
}

TEST_F(RegistryTest, WritersAndRemoval) {
    const BYTE blob[] = {0, 1, 2, 0xFF};
    EXPECT_EQ(RegSetValueByPath(User("A\\B\\Blob"), REG_BINARY, blob, sizeof blob, TRUE), ERROR_SUCCESS);
    BYTE back[8] = {};
    DWORD type = 0, size = sizeof back;
    EXPECT_EQ(RegQueryValueByPath(User("A\\B\\Blob"), back, &type, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(std::vector<BYTE>(back, back + size), std::vector<BYTE>(blob, blob + sizeof blob));

    EXPECT_EQ(DeleteRegValue(User("A\\B\\Blob")), ERROR_SUCCESS);
    EXPECT_EQ(DeleteRegValue(User("A\\B\\Blob")), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(DeleteRegValue(User("Nowhere\\V")), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(DeleteRegValue("HKEY_NOWHERE\\K\\V"), -1);
}

TEST_F(RegistryTest, SettingsPreferTheCurrentUser) {
    RegWriteDword(User("Vorlan\\ErrorLevel"), 1);
    RegWriteDword(Machine("Vorlan\\ErrorLevel"), 2);
    RegWriteString(User("Vorlan\\DefaultSyncApp"), "1");
    RegWriteDword(Machine("Vorlan\\DefaultSyncApp"), 2);
    RegWriteString(User("Vorlan\\PluginConfig"), "C:\\user.xml");
    RegWriteString(Machine("Vorlan\\PluginConfig"), "C:\\machine.xml");
    RegWriteString(Machine("Vorlan\\InstallDir"), "C:\\Program Files\\Vorlan\\");

    DWORD value = 3000;
    EXPECT_EQ(ReadUserOrMachineDword(settings_ + "ErrorLevel", &value), ERROR_SUCCESS);
    EXPECT_EQ(value, 1u) << "the current user wins";
    EXPECT_EQ(ReadUserOrMachineDword(settings_ + "DefaultSyncApp", &value), ERROR_SUCCESS);
    EXPECT_EQ(value, 2u) << "a value of the wrong type falls back to the machine";
    DeleteRegValue(User("Vorlan\\ErrorLevel"));
    EXPECT_EQ(ReadUserOrMachineDword(settings_ + "ErrorLevel", &value), ERROR_SUCCESS);
    EXPECT_EQ(value, 2u) << "the machine's value when the user has none";
    value = 3000;
    EXPECT_EQ(ReadUserOrMachineDword(settings_ + "Message TTL", &value), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(value, 3000u) << "neither has it: the caller's default stays";
    EXPECT_EQ(ReadUserOrMachineDword("\\Software\\VorlanNowhere\\X", &value), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(value, 3000u);

    std::string text;
    EXPECT_EQ(ReadUserOrMachineString(settings_ + "PluginConfig", text), ERROR_SUCCESS);
    EXPECT_EQ(text, "C:\\user.xml");
    char buffer[260];
    EXPECT_EQ(ReadUserOrMachineString(settings_ + "InstallDir", buffer, sizeof buffer), ERROR_SUCCESS);
    EXPECT_STREQ(buffer, "C:\\Program Files\\Vorlan\\");
    EXPECT_EQ(ReadUserOrMachineString(settings_ + "Missing", buffer, sizeof buffer), ERROR_FILE_NOT_FOUND);
    EXPECT_STREQ(buffer, "");
}

// A user's value that does not fit is the user's all the same: an error,
// never the machine's value in its place.
TEST_F(RegistryTest, AUserSettingTooLongIsAnErrorNotTheMachines) {
    const std::string longPath = "C:\\" + std::string(300, 'p') + "\\top.xml";
    RegWriteString(User("Vorlan\\PluginConfig"), longPath.c_str());
    RegWriteString(Machine("Vorlan\\PluginConfig"), "C:\\machine.xml");
    char buffer[MAX_PATH];
    EXPECT_EQ(ReadUserOrMachineString(settings_ + "PluginConfig", buffer, sizeof buffer), ERROR_MORE_DATA);
    EXPECT_STREQ(buffer, "");
    std::string text = "old";
    EXPECT_EQ(ReadUserOrMachineString(settings_ + "PluginConfig", text), ERROR_SUCCESS) << "fits 1000 bytes";
    EXPECT_EQ(text, longPath);
    const std::string tooLong(1200, 'x');
    RegWriteString(User("Vorlan\\PluginConfig"), tooLong.c_str());
    EXPECT_EQ(ReadUserOrMachineString(settings_ + "PluginConfig", text), ERROR_MORE_DATA);
    EXPECT_EQ(text, "");
}

TEST_F(RegistryTest, MapLoadsStringValuesInEnumerationOrder) {
    const std::string longText(300, 'L');
    RegWriteString(User("ProgId\\files"), "Feldane.Vorlan");
    RegWriteDword(User("ProgId\\count"), 3);
    SetRaw(User("ProgId\\expand"), REG_EXPAND_SZ, "%X%", 4);
    RegWriteString(User("ProgId\\long"), longText.c_str());
    RegWriteString(User("ProgId\\registry"), "Tolvane.Vorlan");
    RegWriteString(User("ProgId\\caf\xC3\xA9"), "\xE4\xB8\xAD\xE6\x96\x87\xE4\xB8\xAD\xE6\x96\x87");

    std::vector<std::pair<std::string, std::string>> want;
    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, (name_ + "\\ProgId").c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
    for (DWORD i = 0;; ++i) {
        char name[256];
        BYTE data[1024];
        DWORD nameSize = sizeof name, dataSize = sizeof data, type = 0;
        if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS) break;
        if (type == REG_SZ) want.emplace_back(name, reinterpret_cast<const char*>(data));
    }
    RegCloseKey(key);
    ASSERT_EQ(want.size(), 4u);

    CMapStrToStrReg map;
    map.Set("stale", "entry");
    EXPECT_EQ(map.Load(User("ProgId\\")), ERROR_SUCCESS);
    const std::vector<std::pair<std::string, std::string>> loaded(map.begin(), map.end());
    EXPECT_EQ(loaded, want);

    EXPECT_EQ(map.Load(User("Nowhere\\")), ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(map.empty());
    EXPECT_EQ(map.Load("HKEY_CURRENT_USER\\"), -1);
}

}  // namespace
}  // namespace vorlan
