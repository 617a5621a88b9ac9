// A project whose component table names the file plug-in, run by the core
// from its entry object as the front ends run it, onto an emulated device.
#include <gtest/gtest.h>

#include "Bstr.h"
#include "ComPtr.h"
#include "DeviceEmulator.h"
#include "TestSupport.h"
#include "corvath.h"

namespace vorlan::filesync::testing {
namespace {

using vorlan::testing::ReadFileBytes;
using vorlan::testing::WindowsPath;

TEST(FileComponentTest, TheCoreRunsTheDemoFileTable) {
    vorlan::testing::ComScope com;
    vorlan::testing::DeviceEmulator device(vorlan::testing::kVorlanInstalled);
    device.UseForRapi();
    ASSERT_TRUE(device.InstallOstrum());
    CreateDirectoryW(device.HostPath(L"\\Program Files\\Dravenhall").c_str(), nullptr);
    CreateDirectoryW(device.HostPath(L"\\Program Files\\Dravenhall\\Vorlan").c_str(), nullptr);

    vorlan::testing::TempFolder folder;
    const std::string table = WindowsPath(DEMO_TABLE);
    const std::string project = folder / "project.xml";
    vorlan::testing::WriteFileBytes(project, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root>\n\t<PlugInsCfg "
                                             "ProgId=\"Feldane.Vorlan\" ConfigUrl=\"" + table +
                                                 "\" Name=\"Demo files\" Version=\"1.0\" Patch=\"0\" "
                                                 "AlwaysSync=\"1\"/>\n</root>\n");

    com::ComPtr<IVorlanMain> main;
    ASSERT_EQ(com::CreateInstance(CLSID_VorlanMain, main), S_OK);
    ASSERT_EQ(main->Init(), S_OK);
    EXPECT_EQ(main->Sync(com::Bstr::FromAnsi(project).Get()), S_OK);

    const std::string content = table.substr(0, table.rfind('\\')) + "\\content\\";
    const std::wstring demo = L"\\My Documents\\Vorlan demo\\";
    EXPECT_EQ(ReadFileBytes(com::AnsiFromWide(device.HostPath(demo + L"readme.txt"))),
              ReadFileBytes(content + "readme.txt"));
    EXPECT_EQ(ReadFileBytes(com::AnsiFromWide(device.HostPath(demo + L"docs\\phone-numbers.csv"))),
              ReadFileBytes(content + "docs\\phone-numbers.csv"));
    EXPECT_EQ(GetFileAttributesW(device.HostPath(demo + L"draft.tmp").c_str()), INVALID_FILE_ATTRIBUTES)
        << "left out by the item's filter";
    EXPECT_TRUE(GetFileAttributesW(device.HostPath(demo + L"Inbox").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    const std::wstring readme = device.HostPath(L"\\Windows\\Vorlan demo readme.txt");
    EXPECT_TRUE(GetFileAttributesW(readme.c_str()) & FILE_ATTRIBUTE_READONLY);
    SetFileAttributesW(readme.c_str(), FILE_ATTRIBUTE_NORMAL);
    main.Reset();
}

}  // namespace
}  // namespace vorlan::filesync::testing
