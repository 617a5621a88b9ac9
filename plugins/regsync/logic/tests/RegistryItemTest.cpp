#include "RegistryItem.h"

#include <gtest/gtest.h>

#include <string>

namespace vorlan::regsync {
namespace {

String16 U16(std::string_view ascii) { return String16(ascii.begin(), ascii.end()); }

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char b : bytes) {
        if (!out.empty()) out += ' ';
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

TEST(RegistryItemTest, TypeTextsGiveTheirOperation) {
    const struct {
        const char* type;
        uint32_t code;
        Action action;
        uint32_t valueType;
        bool onDevice;
    } cases[] = {
        {"", kSetString, Action::SetValue, 1, true},
        {"REG_SZ", kSetString, Action::SetValue, 1, true},
        {"REG_EXPAND_SZ", kSetExpandString, Action::SetValue, 2, true},
        {"REG_BINARY", kSetBinary, Action::SetValue, 3, true},
        {"REG_DWORD", kSetDword, Action::SetValue, 4, true},
        {"reg_dword", kSetDword, Action::SetValue, 4, true},
        {"REG_DWORD_LITTLE_ENDIAN", kSetDword, Action::SetValue, 4, true},
        {"REG_MULTI_SZ", kSetMultiString, Action::SetValue, 7, true},
        {"QV_REG_DELETE_KEY", kDeleteKey, Action::DeleteKey, 0, true},
        {"QV_REG_DELETE_VALUE", kDeleteValue, Action::DeleteValue, 0, true},
        {"LOCAL_REG_SZ", kLocalSetString, Action::SetValue, 1, false},
        {"local_reg_dword", kLocalSetDword, Action::SetValue, 4, false},
        {"LOCAL_REG_DWORD_LITTLE_ENDIAN", kLocalSetDword, Action::SetValue, 4, false},
        {"LOCAL_REG_BINARY", kLocalSetBinary, Action::SetValue, 3, false},
        {"LOCAL_REG_EXPAND_SZ", kLocalSetExpandString, Action::SetValue, 2, false},
        {"LOCAL_REG_MULTI_SZ", kLocalSetMultiString, Action::SetValue, 7, false},
        {"QV_LOCAL_REG_DELETE_KEY", kLocalDeleteKey, Action::DeleteKey, 0, false},
        {"QV_LOCAL_REG_DELETE_VALUE", kLocalDeleteValue, Action::DeleteValue, 0, false},
        // The first word that is a keyword decides.
        {"REG_SZ LOCAL_REG_SZ", kSetString, Action::SetValue, 1, true},
        {"LOCAL_REG_SZ|REG_SZ", kLocalSetString, Action::SetValue, 1, false},
        {"words REG_BINARY", kSetBinary, Action::SetValue, 3, true},
        // No keyword: a device string, never the workstation.
        {"REG_SZZ", kNoKeyword, Action::SetValue, 1, true},
        {"LOCAL", kNoKeyword, Action::SetValue, 1, true},
        {"LOCAL_REG_SZ_X", kNoKeyword, Action::SetValue, 1, true},
    };
    for (const auto& c : cases) {
        const uint32_t code = GetOperationCode(c.type);
        EXPECT_EQ(code, c.code) << c.type;
        const Operation op = DescribeOperation(code);
        EXPECT_EQ(op.action, c.action) << c.type;
        EXPECT_EQ(op.valueType, c.valueType) << c.type;
        EXPECT_EQ(op.onDevice, c.onDevice) << c.type;
    }
}

TEST(RegistryItemTest, DwordTextsKeepTheirLow32Bits) {
    const struct {
        const char* text;
        uint32_t want;
    } cases[] = {
        {"42", 42},
        {"-1", 0xFFFFFFFF},
        {"  +7x", 7},
        {"\t 12 34", 12},
        {"abc", 0},
        {"0x10", 0},
        {"", 0},
        {"-", 0},
        {"4294967295", 0xFFFFFFFF},
        {"4294967296", 0},
        {"4294967297", 1},
        {"-2147483648", 0x80000000},
        {"18446744073709551617", 1},
        {"99999999999999999999999", 0xF67FFFFF},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseDwordText(c.text), c.want) << '"' << c.text << '"';
}

TEST(RegistryItemTest, BinaryTextsGiveOneBytePerToken) {
    const struct {
        const char* text;
        const char* want;
    } cases[] = {
        {"00, AB, F1", "00 AB F1"},
        {"1,2,ff", "01 02 FF"},
        {"1,,2", "01 02"},
        {" 7f\t80 ", "7F 80"},
        {"zz", "00"},
        {"0x1F", "00"},
        {"a9z4", "A9"},
        {"1FF", "FF"},
        {"", ""},
        {" , ", ""},
    };
    for (const auto& c : cases) {
        std::string bytes = "untouched";
        ASSERT_TRUE(ParseBinaryText(c.text, bytes)) << c.text;
        EXPECT_EQ(Hex(bytes), c.want) << '"' << c.text << '"';
    }
}

TEST(RegistryItemTest, BinaryTextsOverTheLimitAreRefusedWhole) {
    std::string text;
    for (size_t i = 0; i < kMaxBinaryBytes; ++i) text += i ? ",ab" : "ab";
    std::string bytes;
    ASSERT_TRUE(ParseBinaryText(text, bytes));
    EXPECT_EQ(bytes, std::string(kMaxBinaryBytes, '\xAB'));

    std::string out = "kept";
    EXPECT_FALSE(ParseBinaryText(text + ",01", out));
    EXPECT_EQ(out, "kept");
    // Separators are no bytes, however many there are.
    EXPECT_TRUE(ParseBinaryText(text + std::string(kMaxBinaryBytes, ','), out));
    EXPECT_EQ(out.size(), kMaxBinaryBytes);
}

TEST(RegistryItemTest, StringDataIsUtf16WithTerminators) {
    EXPECT_EQ(StringValueData(U16("hi")), std::string("h\0i\0\0\0", 6));
    EXPECT_EQ(StringValueData(U16("")), std::string(2, '\0'));
    const struct {
        const char* text;
        std::string want;
    } multi[] = {
        {"a|bc", std::string("a\0\0\0b\0c\0\0\0\0\0", 12)},
        {"one", std::string("o\0n\0e\0\0\0\0\0", 10)},
        {"a||b|", std::string("a\0\0\0b\0\0\0\0\0", 10)},
        {"", std::string(2, '\0')},
        {"|", std::string(2, '\0')},
    };
    for (const auto& c : multi) EXPECT_EQ(MultiStringValueData(U16(c.text)), c.want) << c.text;
}

TEST(RegistryItemTest, KeysToDeleteNeverNameTheRoot) {
    const struct {
        const char* subKey;
        const char* valueName;
        const char* want;  // nullptr: refused
    } cases[] = {
        {"Software\\A", "B", "Software\\A\\B"},
        {"Software\\A", "", "Software\\A"},
        {"Software", "", "Software"},
        {"", "A", "A"},
        {"", "", nullptr},
        {"\\", "", nullptr},
    };
    for (const auto& c : cases) {
        const auto key = KeyToDelete(U16(c.subKey), U16(c.valueName));
        if (!c.want) {
            EXPECT_FALSE(key) << c.subKey << " | " << c.valueName;
            continue;
        }
        ASSERT_TRUE(key) << c.subKey << " | " << c.valueName;
        EXPECT_EQ(*key, U16(c.want));
    }
}

TEST(RegistryItemTest, NamesLongerThanTheRegistryAllowsDoNotFit) {
    const String16 part255(255, 'k'), part256(256, 'k');
    const struct {
        String16 subKey, valueName;
        bool onDevice, fits;
    } cases[] = {
        {U16("Software\\") + part255, part255, true, true},
        {U16("Software\\") + part256 + U16("\\A"), U16("v"), true, false},
        {U16("Software\\") + part256 + U16("\\A"), U16("v"), false, false},
        {U16("Software"), part256, true, false},
        {U16("Software"), part256, false, true},
        {U16("Software"), String16(16383, 'v'), false, true},
        {U16("Software"), String16(16384, 'v'), false, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NamesFit(c.subKey, c.valueName, c.onDevice), c.fits)
            << c.subKey.size() << " / " << c.valueName.size() << (c.onDevice ? " device" : " workstation");
}

TEST(RegistryItemTest, TheDialogShowsAndStoresEveryType) {
    const struct {
        const char* type;
        int index;
        bool local;
    } shown[] = {
        {"REG_BINARY", 0, false},          {"LOCAL_REG_BINARY", 0, true},
        {"REG_DWORD", 1, false},           {"LOCAL_REG_DWORD_LITTLE_ENDIAN", 1, true},
        {"", 2, false},                    {"REG_SZ", 2, false},
        {"LOCAL_REG_SZ", 2, true},         {"NONSENSE", 2, false},
        {"REG_EXPAND_SZ", 3, false},       {"LOCAL_REG_EXPAND_SZ", 3, true},
        {"QV_REG_DELETE_KEY", 4, false},   {"QV_LOCAL_REG_DELETE_KEY", 4, true},
        {"QV_REG_DELETE_VALUE", 5, false}, {"QV_LOCAL_REG_DELETE_VALUE", 5, true},
        {"REG_MULTI_SZ", 6, false},        {"LOCAL_REG_MULTI_SZ", 6, true},
    };
    for (const auto& c : shown) {
        const uint32_t code = GetOperationCode(c.type);
        EXPECT_EQ(DialogIndexOf(code), c.index) << c.type;
        EXPECT_EQ(IsLocal(code), c.local) << c.type;
        // What the dialog stores for that choice reads back as the same operation.
        const std::string stored = DialogTypeText(kDialogTypes[c.index], c.local);
        EXPECT_EQ(DialogIndexOf(GetOperationCode(stored)), c.index) << stored;
        EXPECT_EQ(IsLocal(GetOperationCode(stored)), c.local) << stored;
    }
    EXPECT_EQ(DialogTypeText("QV_REG_DELETE_KEY", true), "QV_LOCAL_REG_DELETE_KEY");
    EXPECT_EQ(DialogTypeText("QV_REG_DELETE_VALUE", true), "QV_LOCAL_REG_DELETE_VALUE");
    EXPECT_EQ(DialogTypeText("REG_DWORD", true), "LOCAL_REG_DWORD");
    EXPECT_EQ(DialogTypeText("REG_DWORD", false), "REG_DWORD");
}

}  // namespace
}  // namespace vorlan::regsync
