#include <gtest/gtest.h>

#include "DeviceFactNames.h"
#include "MapReplacer.h"
#include "OwnerRecord.h"

namespace vorlan {
namespace {

TEST(DeviceFactNamesTest, Codes) {
    using Name = std::string_view (*)(uint32_t);
    struct Case {
        Name name;
        uint32_t code;
        std::string_view want;
    } const cases[] = {
        {ProcessorTypeName, 2577, "STRONGARM"},      {ProcessorTypeName, 103, "SHx_SH3"},
        {ProcessorTypeName, 70001, "ARM_7TDMI"},     {ProcessorTypeName, 9999, "UNKNOWN"},
        {ProcessorTypeName, 0, "UNKNOWN"},           {ProcessorArchitectureName, 0, "INTEL"},
        {ProcessorArchitectureName, 5, "ARM"},       {ProcessorArchitectureName, 10, "IA32_ON_WIN64"},
        {ProcessorArchitectureName, 11, "UNKNOWN"},  {ProcessorArchitectureName, 0xFFFF, "UNKNOWN"},
        {PlatformIdName, 0, "WIN32s"},               {PlatformIdName, 3, "WIN32_CE"},
        {PlatformIdName, 4, "UNKNOWN"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.name(c.code), c.want) << c.code;
}

void Put(Char16 (&record)[kOwnerRecordChars], size_t at, std::string_view text) {
    for (char c : text) record[at++] = static_cast<Char16>(static_cast<unsigned char>(c));
}

TEST(OwnerRecordTest, FieldsStayInTheirSlots) {
    Char16 record[kOwnerRecordChars] = {};
    Put(record, 0, "Ann Lee");
    Put(record, 36, "Acme & Co");
    Put(record, 72, "1 Main St");
    Put(record, 258, "555");
    Put(record, 283, "ann@example.com");
    OwnerFields f = ReadOwnerRecord(record);
    EXPECT_EQ(f.name, String16(VORLAN_U16("Ann Lee")));
    EXPECT_EQ(f.company, String16(VORLAN_U16("Acme & Co")));
    EXPECT_EQ(f.address, String16(VORLAN_U16("1 Main St")));
    EXPECT_EQ(f.telephone, String16(VORLAN_U16("555")));
    EXPECT_EQ(f.email, String16(VORLAN_U16("ann@example.com")));

    // Every slot filled to its end, no NUL anywhere.
    for (Char16& c : record) c = 'x';
    record[0] = 0x674E;  // a character no single byte holds
    f = ReadOwnerRecord(record);
    EXPECT_EQ(f.name.size(), 36u);
    EXPECT_EQ(f.name[0], 0x674E);
    EXPECT_EQ(f.company.size(), 36u);
    EXPECT_EQ(f.address.size(), 186u);
    EXPECT_EQ(f.telephone.size(), 25u);
    EXPECT_EQ(f.email.size(), 101u);
}

TEST(MapReplacerTest, Cases) {
    StringMap map;
    map.Set("DEVICE_NAME", "Field-07");
    map.Set("OS_VER", "5.2");
    map.Set("A", "%OS_VER%");  // brought in after OS_VER's turn: stays
    map.Set("", "gone");
    CMapReplacer replacer(&map);
    EXPECT_EQ(replacer.Expand("x/%DEVICE_NAME%/%OS_VER%/%DEVICE_NAME%"), "x/Field-07/5.2/Field-07");
    EXPECT_EQ(replacer.Expand("%device_name%"), "%device_name%");
    EXPECT_EQ(replacer.Expand("%A%"), "%OS_VER%");
    EXPECT_EQ(replacer.Expand("100%%"), "100%%");
    EXPECT_EQ(replacer.Expand("%PATH%"), "%PATH%");
    EXPECT_EQ(CMapReplacer(nullptr).Expand("%A%"), "%A%");
}

}  // namespace
}  // namespace vorlan
