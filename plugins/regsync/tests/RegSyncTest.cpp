// The registry engine on both sides: every value type and operation
// keyword, on the emulated device (read back over the remote API) and on
// the workstation (read back with the registry functions), and bad input
// reported with the event and result it names, leaving nothing behind.
#include <gtest/gtest.h>

#include "Bstr.h"
#include "CeRapi.h"
#include "ComPtr.h"
#include "RegSyncFixture.h"
#include "VorlanMessages.h"
#include "pindrel.h"

namespace vorlan::regsync::testing {
namespace {

struct Side {
    const char* name;
    bool device;
    const char* prefix;  // of the type keywords
    const char* deletePrefix;
};

constexpr Side kSides[] = {{"device", true, "", "QV_"}, {"workstation", false, "LOCAL_", "QV_LOCAL_"}};

class RegSyncTest : public RegSyncSuite {
protected:
    StoredValue Value(const Side& side, const std::string& path) const {
        return side.device ? DeviceValue(path) : WorkstationValue(path);
    }
    bool KeyExists(const Side& side, const std::string& path) const {
        return side.device ? DeviceKeyExists(path) : WorkstationKeyExists(path);
    }
};

TEST_F(RegSyncTest, SetsEveryValueTypeOnEitherSide) {
    const struct {
        const char* type;  // without the side's prefix
        const char* name;  // below the side's key; a closing "\" names the default value
        const char* value;
        StoredValue want;
    } cases[] = {
        {"REG_SZ", "Strings\\Greeting", "hello", {REG_SZ, Text16(L"hello")}},
        {"REG_SZ", "Strings\\Empty", "", {REG_SZ, Text16(L"")}},
        {"REG_SZ", "Strings\\Accents", "caf\xc3\xa9 \xe2\x82\xac", {REG_SZ, Text16(L"caf\u00e9 \u20ac")}},
        {"REG_EXPAND_SZ", "Strings\\Path", "%windir%\\x", {REG_EXPAND_SZ, Text16(L"%windir%\\x")}},
        {"REG_MULTI_SZ", "Strings\\List", "one|two", {REG_MULTI_SZ, Text16(L"one") + Text16(L"two") + Text16(L"")}},
        {"REG_MULTI_SZ", "Strings\\NoList", "", {REG_MULTI_SZ, Text16(L"")}},
        {"REG_DWORD", "Numbers\\Answer", "42", {REG_DWORD, Bytes({0x2A, 0, 0, 0})}},
        {"REG_DWORD", "Numbers\\Largest", "4294967295", {REG_DWORD, Bytes({0xFF, 0xFF, 0xFF, 0xFF})}},
        {"REG_DWORD_LITTLE_ENDIAN", "Numbers\\Minus", "-2", {REG_DWORD, Bytes({0xFE, 0xFF, 0xFF, 0xFF})}},
        {"REG_DWORD", "Numbers\\Letters", "abc", {REG_DWORD, Bytes({0, 0, 0, 0})}},
        {"REG_BINARY", "Bytes\\Three", "00, AB, F1", {REG_BINARY, Bytes({0x00, 0xAB, 0xF1})}},
        {"REG_BINARY", "Bytes\\Odd", "1,2,ff zz 0x1F", {REG_BINARY, Bytes({0x01, 0x02, 0xFF, 0x00, 0x00})}},
        {"REG_BINARY", "Bytes\\None", "", {REG_BINARY, ""}},
        {"REG_SZ", "Defaults\\", "the key's own", {REG_SZ, Text16(L"the key's own")}},
        {"REG_SZ", "Missing\\Between\\Here\\Name", "made", {REG_SZ, Text16(L"made")}},
    };
    for (const Side& side : kSides) {
        auto engine = Engine();
        for (const auto& c : cases) {
            const std::string path = TestKey() + "\\" + side.name + "\\" + c.name;
            const std::string type = std::string(side.prefix) + c.type;
            EXPECT_EQ(engine->ApplyRegistryItem(path, c.value, type), S_OK) << type << " " << path;
            EXPECT_EQ(Value(side, path), c.want) << type << " " << path;
            // Nothing reached the other side.
            EXPECT_EQ(Value(Side{"", !side.device, "", ""}, path), StoredValue{}) << type << " " << path;
        }
        // Set again, a value takes the new data and type.
        const std::string greeting = TestKey() + "\\" + side.name + "\\Strings\\Greeting";
        EXPECT_EQ(engine->ApplyRegistryItem(greeting, "7", std::string(side.prefix) + "REG_DWORD"), S_OK);
        EXPECT_EQ(Value(side, greeting), (StoredValue{REG_DWORD, Bytes({7, 0, 0, 0})}));
    }
    EXPECT_TRUE(Events().empty());
}

TEST_F(RegSyncTest, AnEmptyTypeAndOneWithoutKeywordsSetADeviceString) {
    auto engine = Engine();
    const struct {
        const char* type;
        const char* name;
    } cases[] = {{"", "Plain"}, {"REG_SZZ", "Typo"}, {"reg_sz LOCAL_REG_SZ", "FirstWins"}};
    for (const auto& c : cases) {
        const std::string path = TestKey() + "\\untyped\\" + c.name;
        EXPECT_EQ(engine->ApplyRegistryItem(path, "text", c.type), S_OK) << c.type;
        EXPECT_EQ(DeviceValue(path), (StoredValue{REG_SZ, Text16(L"text")})) << c.type;
        EXPECT_EQ(WorkstationValue(path), StoredValue{}) << c.type;
    }
    const std::string local = TestKey() + "\\untyped\\Local";
    EXPECT_EQ(engine->ApplyRegistryItem(local, "5", "local_reg_dword"), S_OK);
    EXPECT_EQ(WorkstationValue(local), (StoredValue{REG_DWORD, Bytes({5, 0, 0, 0})}));
    EXPECT_EQ(DeviceValue(local), StoredValue{});
}

TEST_F(RegSyncTest, DeletesValuesAndKeys) {
    for (const Side& side : kSides) {
        const std::string base = TestKey() + "\\" + side.name + "Deletes";
        const std::string set = std::string(side.prefix) + "REG_SZ";
        const std::string deleteValue = std::string(side.deletePrefix) + "REG_DELETE_VALUE";
        const std::string deleteKey = std::string(side.deletePrefix) + "REG_DELETE_KEY";
        auto engine = Engine();
        for (const char* name : {"Values\\Kept", "Values\\Gone", "Values\\", "Leaf\\A", "Slash\\A", "Tree\\Sub\\Deeper\\A",
                                 "Tree\\B"})
            ASSERT_EQ(engine->ApplyRegistryItem(base + "\\" + name, "x", set), S_OK) << name;

        // A value goes, its key and the other values stay; so does the default value.
        EXPECT_EQ(engine->ApplyRegistryItem(base + "\\Values\\Gone", "ignored", deleteValue), S_OK);
        EXPECT_EQ(Value(side, base + "\\Values\\Gone"), StoredValue{});
        EXPECT_EQ(Value(side, base + "\\Values\\Kept"), (StoredValue{REG_SZ, Text16(L"x")}));
        EXPECT_EQ(engine->ApplyRegistryItem(base + "\\Values\\", "", deleteValue), S_OK);
        EXPECT_EQ(Value(side, base + "\\Values\\"), StoredValue{});

        // A key goes whole with its values, named with or without a closing backslash.
        EXPECT_EQ(engine->ApplyRegistryItem(base + "\\Leaf", "", deleteKey), S_OK);
        EXPECT_FALSE(KeyExists(side, base + "\\Leaf"));
        EXPECT_EQ(engine->ApplyRegistryItem(base + "\\Slash\\", "", deleteKey), S_OK);
        EXPECT_FALSE(KeyExists(side, base + "\\Slash"));
        EXPECT_TRUE(KeyExists(side, base + "\\Values"));
        EXPECT_TRUE(Events().empty()) << side.name;

        // A key with subkeys: the device deletes them all; the workstation keeps it and says so.
        const HRESULT tree = engine->ApplyRegistryItem(base + "\\Tree", "", deleteKey);
        if (side.device) {
            EXPECT_EQ(tree, S_OK);
            EXPECT_FALSE(KeyExists(side, base + "\\Tree"));
            EXPECT_TRUE(Events().empty());
        } else {
            EXPECT_EQ(tree, E_FAIL);
            EXPECT_TRUE(KeyExists(side, base + "\\Tree\\Sub\\Deeper"));
            EXPECT_EQ(Value(side, base + "\\Tree\\B"), (StoredValue{REG_SZ, Text16(L"x")}));
            ExpectOneEvent(EVT_REGISTRY_NOT_DELETED, base + "\\Tree");
        }
        SetUp();
    }
}

TEST_F(RegSyncTest, RootsAreNeverDeleted) {
    auto engine = Engine();
    const std::string kept = TestKey() + "\\roots\\Kept";
    for (const Side& side : kSides)
        ASSERT_EQ(engine->ApplyRegistryItem(kept, "x", std::string(side.prefix) + "REG_SZ"), S_OK);
    const char* keys[] = {"HKEY_CURRENT_USER\\\\", "HKEY_CURRENT_USER\\", "hkey_current_user\\\\\\", "HKEY_CURRENT_USER"};
    for (const Side& side : kSides) {
        for (const char* op : {"REG_DELETE_KEY", "REG_DELETE_VALUE"}) {
            for (const char* key : keys) {
                SetUp();
                const std::string type = std::string(side.deletePrefix) + op;
                EXPECT_EQ(engine->ApplyRegistryItem(key, "", type), E_FAIL) << type << " " << key;
                ExpectOneEvent(EVT_REGISTRY_NOT_DELETED, key);
            }
        }
        EXPECT_EQ(Value(side, kept), (StoredValue{REG_SZ, Text16(L"x")})) << side.name;
    }
}

TEST_F(RegSyncTest, BadInputIsReportedAndLeavesNothingBehind) {
    std::string tooManyBytes = "1";
    for (int i = 0; i < 5120; ++i) tooManyBytes += ",2";
    const std::string longPart(256, 'k');
    const struct {
        const char* type;   // without the side's prefix
        std::string key;    // "*" stands for the side's key
        std::string value;
        HRESULT result;
        uint32_t event;
        bool keyInserted;
        const char* absentKey;  // below the side's key, must not exist afterwards
        bool deviceOnly;
    } cases[] = {
        {"REG_SZ", "HKEY_BOGUS\\Software\\V", "x", E_FAIL, EVT_REGISTRY_VALUE_NOT_WRITTEN, true, nullptr, false},
        {"REG_DWORD", "HKEY_BOGUS\\Software\\V", "1", E_FAIL, EVT_REGISTRY_VALUE_NOT_WRITTEN, true, nullptr, false},
        {"REG_EXPAND_SZ", "HKEY_BOGUS\\Software\\V", "x", E_FAIL, EVT_DEVICE_CALL_FAILED, false, nullptr, false},
        {"REG_DELETE_KEY", "HKEY_BOGUS\\Software\\V", "", E_FAIL, EVT_REGISTRY_NOT_DELETED, true, nullptr, false},
        {"REG_SZ", "HKEY_CURRENT_USER\\Software", "x", E_FAIL, EVT_REGISTRY_VALUE_NOT_WRITTEN, true, nullptr, false},
        {"REG_DELETE_VALUE", "HKEY_CURRENT_USER\\Software", "", E_FAIL, EVT_REGISTRY_NOT_DELETED, true, nullptr,
         false},
        {"REG_BINARY", "*\\Big\\Bytes", tooManyBytes, E_FAIL, EVT_REGISTRY_VALUE_NOT_WRITTEN, true, "Big", false},
        {"REG_SZ", "*\\LongName\\" + longPart, "x", E_FAIL, EVT_REGISTRY_VALUE_NOT_WRITTEN, true, "LongName", true},
        {"REG_SZ", "*\\LongerName\\" + std::string(16384, 'v'), "x", E_FAIL, EVT_REGISTRY_VALUE_NOT_WRITTEN, true,
         "LongerName", false},
        {"REG_DWORD", "*\\LongKey\\" + longPart + "\\V", "1", E_FAIL, EVT_REGISTRY_VALUE_NOT_WRITTEN, true,
         "LongKey", false},
        {"REG_DELETE_VALUE", "*\\Nowhere\\V", "", E_FAIL, EVT_REGISTRY_NOT_DELETED, true, "Nowhere", false},
        {"REG_DELETE_KEY", "*\\Nowhere\\Sub", "", E_FAIL, EVT_REGISTRY_NOT_DELETED, true, "Nowhere", false},
        {"REG_SZ", "", "x", E_INVALIDARG, EVT_NO_REGISTRY_KEY, false, nullptr, false},
        {"REG_DELETE_KEY", "", "", E_INVALIDARG, EVT_NO_REGISTRY_KEY, false, nullptr, false},
    };
    for (const Side& side : kSides) {
        const std::string base = TestKey() + "\\" + side.name + "Bad";
        auto engine = Engine();
        for (const auto& c : cases) {
            if (c.deviceOnly && !side.device) continue;
            SetUp();
            const bool deletes = std::string(c.type).starts_with("REG_DELETE");
            const std::string type = std::string(deletes ? side.deletePrefix : side.prefix) + c.type;
            std::string key = c.key;
            if (key.starts_with("*")) key.replace(0, 1, base);
            const std::string shown = type + " " + key.substr(0, 80);
            EXPECT_EQ(engine->ApplyRegistryItem(key, c.value, type), c.result) << shown;
            ExpectOneEvent(c.event, c.keyInserted ? key : "");
            if (c.absentKey) {
                EXPECT_FALSE(KeyExists(side, base + "\\" + c.absentKey)) << shown;
            }
        }
        // The engine goes on with the next item.
        EXPECT_EQ(engine->ApplyRegistryItem(base + "\\After\\V", "1", std::string(side.prefix) + "REG_DWORD"), S_OK);
        EXPECT_EQ(Value(side, base + "\\After\\V"), (StoredValue{REG_DWORD, Bytes({1, 0, 0, 0})}));
    }
}

TEST_F(RegSyncTest, ItemsComeFromTheirNodeAsTheyStand) {
    auto engine = Engine();
    EXPECT_EQ(engine->PerformTransfer(nullptr), E_INVALIDARG);
    ExpectOneEvent(EVT_ITEM_UNUSABLE);

    com::ComPtr<IInfoNode> node;
    ASSERT_EQ(com::CreateInstance(CLSID_InfoNode, node), S_OK);
    const std::string path = TestKey() + "\\node\\%CE_WINDIR%";
    node->SetAt(com::Bstr::FromAnsi("Key").Get(), com::Bstr::FromAnsi(path).Get());
    node->SetAt(com::Bstr::FromAnsi("Value").Get(), com::Bstr::FromAnsi("%CE_WINDIR%\\a.exe").Get());
    node->SetAt(com::Bstr::FromAnsi("Type").Get(), com::Bstr::FromAnsi("REG_EXPAND_SZ").Get());
    SetUp();
    EXPECT_EQ(engine->PerformTransfer(node.Get()), S_OK);
    EXPECT_EQ(DeviceValue(path), (StoredValue{REG_EXPAND_SZ, Text16(L"%CE_WINDIR%\\a.exe")}));
    EXPECT_TRUE(Events().empty());
}

TEST_F(RegSyncTest, InitWithoutDeviceFails) {
    ASSERT_TRUE(device->Disconnect());
    auto engine = Engine(false);
    EXPECT_TRUE(FAILED(engine->Init()));
    ASSERT_TRUE(device->Reconnect());
    ExpectOneEvent(EVT_DEVICE_NOT_CONNECTED);
}

}  // namespace
}  // namespace vorlan::regsync::testing
