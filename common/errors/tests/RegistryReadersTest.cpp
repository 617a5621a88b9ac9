#include <gtest/gtest.h>

#include "RegistryReaders.h"
#include "TestSupport.h"

namespace vorlan {
namespace {

TEST(RegistryReadersTest, ExpandStringsAreReadAsStored) {
    const std::string key = testing::UniqueName("Software\\VorlanTest\\Readers");
    HKEY k;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr),
              ERROR_SUCCESS);
    auto set = [&](const char* name, DWORD type, const std::string& bytes) {
        RegSetValueExA(k, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()));
    };
    set("expand", REG_EXPAND_SZ, std::string("%SystemRoot%\\m.dll", 19));
    set("plain", REG_SZ, std::string("C:\\m.dll\0", 9));
    set("longest", REG_SZ, std::string(999, 'a') + '\0');
    set("too long", REG_SZ, std::string(1000, 'a') + '\0');
    set("unterminated", REG_SZ, std::string(1000, 'b'));
    set("dword", REG_DWORD, std::string(4, '\1'));
    struct Case {
        const char* name;
        LONG result;
        std::string text;
    };
    const Case cases[] = {
        {"expand", ERROR_SUCCESS, "%SystemRoot%\\m.dll"},
        {"plain", ERROR_SUCCESS, "C:\\m.dll"},
        {"longest", ERROR_SUCCESS, std::string(999, 'a')},
        {"too long", ERROR_MORE_DATA, ""},
        {"unterminated", ERROR_MORE_DATA, ""},
        {"dword", ERROR_INVALID_DATATYPE, ""},
        {"absent", ERROR_FILE_NOT_FOUND, ""},
    };
    for (const Case& c : cases) {
        std::string out = "stale";
        EXPECT_EQ(RegReadExpandString("HKEY_CURRENT_USER\\" + key + "\\" + c.name, out), c.result) << c.name;
        EXPECT_EQ(out, c.text) << c.name;
    }
    std::string out = "stale";
    EXPECT_EQ(RegReadExpandString("HKEY_NOWHERE\\Key\\Value", out), -1);
    EXPECT_EQ(out, "");
    RegCloseKey(k);
    RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
}

}  // namespace
}  // namespace vorlan
