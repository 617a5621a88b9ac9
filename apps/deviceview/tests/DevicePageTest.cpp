// The page of device facts filled from the device's variables.
#include <gtest/gtest.h>

#include <windows.h>

#include <regex>
#include <string>

#include "DevicePage.h"
#include "HtmlImage.h"

namespace vorlan::deviceview {
namespace {

TEST(DevicePage, VariablesBecomeEscapedValuesInOnePass) {
    StringMap variables;
    variables.Set("OWNER_NAME", "<b>&amp; \"Ann\" 'O'");
    variables.Set("OS_VER", "5.2");
    variables.Set("DEVICE_NAME", "%OS_VER%");
    variables.Set("", "never");
    const struct {
        const char* page;
        const char* filled;
    } cases[] = {
        {"<td>%OWNER_NAME%</td>", "<td>&lt;b&gt;&amp;amp; &quot;Ann&quot; &#39;O&#39;</td>"},
        {"%DEVICE_NAME% runs %OS_VER%", "%OS_VER% runs 5.2"},
        {"%OS_VER%%OS_VER%", "5.25.2"},
        {"100% of %OS_VER%", "100% of 5.2"},
        {"%%OS_VER%%", "%5.2%"},
        {"%os_ver% %UNKNOWN% %", "%os_ver% %UNKNOWN% %"},
        {"%OS_VER", "%OS_VER"},
        {"no variables", "no variables"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(FillDevicePage(c.page, variables), c.filled) << c.page;
}

// The template the program holds (its resource, linked into this test).
TEST(DevicePage, TheTemplateHoldsEachRowsVariableOnce) {
    std::string page;
    ASSERT_TRUE(LoadPageResource(GetModuleHandleA(nullptr), "DEVICEPROPERTIES", page));
    const char* variables[] = {"OWNER_NAME",   "OWNER_COMANY", "OWNER_TELEPHONE", "OWNER_ADDRESS",
                               "OWNER_EMAIL",  "DEVICE_NAME",  "PLATFORM_ID",     "OS_VER",
                               "PROCESSOR_TYPE", "PROCESSOR_ARCHITECTURE", "TOT_PHYS_MEM", "AVAIL_MEM",
                               "USED_MEM",     "TOT_STORAGE",  "AVAIL_STORAGE",   "USED_STORAGE"};
    StringMap values;
    for (const char* name : variables) {
        const std::string written = std::string("%") + name + "%";
        const size_t at = page.find(written);
        ASSERT_NE(at, std::string::npos) << name;
        EXPECT_EQ(page.find(written, at + 1), std::string::npos) << name << " once";
        values.Set(name, "v");
    }
    EXPECT_FALSE(std::regex_search(FillDevicePage(page, values), std::regex("%[A-Z_]+%")))
        << "no other variable is left";
    EXPECT_NE(page.find("<td id=\"OwnerCompany\">%OWNER_COMANY%</td>"), std::string::npos)
        << "the company as the device class spells its variable";
}

}  // namespace
}  // namespace vorlan::deviceview
