#include <gtest/gtest.h>

#include <windows.h>

#include "Dialog.h"
#include "FrameworkTestIds.h"
#include "ModuleState.h"
#include "Resources.h"
#include "TestSupport.h"

namespace vorlan {
namespace {

using LibraryResourcesFn = BOOL (*)(char*, char*, int);

std::string DialogCaption() {
    CDialog dialog(IDD_TEST);
    return dialog.Create() ? dialog.GetWindowText() : "not created";
}

TEST(ResourceModuleTest, DialogsAndStringsComeFromTheModuleTheThreadEntered) {
    HMODULE library = LoadLibraryA(testing::WindowsPath(RESOURCE_LIBRARY_PATH).c_str());
    ASSERT_NE(library, nullptr);
    EXPECT_EQ(DialogCaption(), "From the program");
    EXPECT_EQ(LoadResourceString(IDS_WHOSE), "program string");
    {
        ModuleStateGuard entered(library);
        EXPECT_EQ(AfxGetResourceHandle(), library);
        EXPECT_EQ(DialogCaption(), "From the library");
        EXPECT_EQ(LoadResourceString(IDS_WHOSE), "library string");
    }
    EXPECT_EQ(DialogCaption(), "From the program") << "the guard restores the program's module";

    // The library's own export, called by the program, uses its own.
    auto resources = reinterpret_cast<LibraryResourcesFn>(GetProcAddress(library, "LibraryResources"));
    ASSERT_NE(resources, nullptr);
    char caption[64] = {}, text[64] = {};
    ASSERT_TRUE(resources(caption, text, sizeof caption));
    EXPECT_STREQ(caption, "From the library");
    EXPECT_STREQ(text, "library string");
    EXPECT_EQ(LoadResourceString(9999), "");
    FreeLibrary(library);
}

}  // namespace
}  // namespace vorlan
