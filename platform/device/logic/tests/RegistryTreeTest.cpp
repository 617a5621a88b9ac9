#include <gtest/gtest.h>

#include "RegistryTree.h"

using namespace vorlan::device;

namespace {
const KeyRef kMachine{kLocalMachine, u""};

void SetText(RegistryTree& tree, const KeyRef& key, std::u16string_view name, std::u16string_view text) {
    ASSERT_EQ(tree.SetValue(key, name, 1, reinterpret_cast<const uint8_t*>(text.data()), text.size() * 2, 7), 0u);
}
}  // namespace

TEST(RegistryTree, CreateOpenAndValues) {
    RegistryTree tree;
    KeyRef key;
    bool created = false;
    ASSERT_EQ(tree.Create(kMachine, u"SOFTWARE\\Dravenhall\\Vorlan", u"String", 5, key, created), 0u);
    EXPECT_TRUE(created);
    EXPECT_EQ(key.path, u"SOFTWARE\\Dravenhall\\Vorlan");
    ASSERT_EQ(tree.Create(kMachine, u"software\\DRAVENHALL\\vorlan", u"", 5, key, created), 0u);
    EXPECT_FALSE(created);
    EXPECT_EQ(key.path, u"software\\DRAVENHALL\\vorlan");
    EXPECT_EQ(tree.Find(key)->name, u"Vorlan");
    EXPECT_EQ(tree.Find(key)->className, u"String");

    SetText(tree, key, u"TwoWaySyncData", u"\\x.dat");
    const RegValue* v = nullptr;
    ASSERT_EQ(tree.QueryValue(key, u"twowaysyncdata", v), 0u);
    EXPECT_EQ(v->type, 1u);
    EXPECT_EQ(v->data.size(), 12u);
    EXPECT_EQ(tree.QueryValue(key, u"Other", v), 2u);
    KeyRef opened;
    EXPECT_EQ(tree.Open(kMachine, u"SOFTWARE\\Nope", opened), 2u);
    EXPECT_EQ(tree.Open(kMachine, u"SOFTWARE", opened), 0u);
    EXPECT_EQ(tree.Open(KeyRef{9, u""}, u"x", opened), 87u);
    EXPECT_EQ(tree.Open(kMachine, std::u16string(256, u'k'), opened), 87u);

    EXPECT_EQ(tree.DeleteValue(key, u"TWOWAYSYNCDATA"), 0u);
    EXPECT_EQ(tree.DeleteValue(key, u"TwoWaySyncData"), 2u);
}

TEST(RegistryTree, DeleteTakesTheSubtreeAndInvalidatesOpenKeys) {
    RegistryTree tree;
    KeyRef deep, top;
    bool created;
    tree.Create(kMachine, u"A\\B\\C", u"", 1, deep, created);
    tree.Open(kMachine, u"A", top);
    EXPECT_EQ(tree.DeleteKey(kMachine, u""), 5u);
    EXPECT_EQ(tree.DeleteKey(kMachine, u"A"), 0u);
    EXPECT_EQ(tree.DeleteKey(kMachine, u"A"), 2u);
    EXPECT_EQ(tree.SetValue(deep, u"v", 4, nullptr, 0, 1), 1018u);
    KeyInfo info;
    EXPECT_EQ(tree.QueryInfo(top, info), 1018u);
}

TEST(RegistryTree, EnumerationAndInfo) {
    RegistryTree tree;
    KeyRef k, child;
    bool created;
    tree.Create(kMachine, u"K", u"", 1, k, created);
    tree.Create(k, u"First", u"cls", 1, child, created);
    tree.Create(k, u"Second-longer", u"", 1, child, created);
    SetText(tree, k, u"", u"default");
    SetText(tree, k, u"name", u"v");
    const RegKey* c = nullptr;
    ASSERT_EQ(tree.EnumKey(k, 1, c), 0u);
    EXPECT_EQ(c->name, u"Second-longer");
    EXPECT_EQ(tree.EnumKey(k, 2, c), 259u);
    const RegValue* v = nullptr;
    ASSERT_EQ(tree.EnumValue(k, 0, v), 0u);
    EXPECT_EQ(v->name, u"");
    EXPECT_EQ(tree.EnumValue(k, 2, v), 259u);
    KeyInfo info;
    ASSERT_EQ(tree.QueryInfo(k, info), 0u);
    EXPECT_EQ(info.subKeys, 2u);
    EXPECT_EQ(info.maxSubKeyLen, 13u);
    EXPECT_EQ(info.maxClassLen, 3u);
    EXPECT_EQ(info.values, 2u);
    EXPECT_EQ(info.maxValueNameLen, 4u);
    EXPECT_EQ(info.maxValueLen, 14u);
}

TEST(RegistryTree, HiveRoundTripAndDamagedHives) {
    RegistryTree tree;
    KeyRef k;
    bool created;
    tree.Create(KeyRef{kCurrentUser, u""}, u"ControlPanel\\Owner", u"", 3, k, created);
    SetText(tree, k, u"Owner", u"Ann");
    auto bytes = tree.Serialize();

    RegistryTree copy;
    ASSERT_TRUE(copy.Deserialize(bytes));
    const RegValue* v = nullptr;
    ASSERT_EQ(copy.QueryValue(k, u"Owner", v), 0u);
    EXPECT_EQ(v->data.size(), 6u);
    EXPECT_EQ(copy.Serialize(), bytes);

    // Every truncation and a trailing byte are refused and leave the tree as it was.
    for (size_t n = 0; n < bytes.size(); ++n) {
        std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + n);
        EXPECT_FALSE(copy.Deserialize(cut)) << n;
    }
    bytes.push_back(0);
    EXPECT_FALSE(copy.Deserialize(bytes));
    EXPECT_EQ(copy.QueryValue(k, u"Owner", v), 0u);
}
