// Feldane through COM, as the core and the editor use it.
#include <gtest/gtest.h>

#include "Bstr.h"
#include "ComPtr.h"
#include "PluginChecks.h"
#include "FileSyncFixture.h"
#include "VorlanMessages.h"
#include "feldane.h"
#include "pindrel.h"

namespace vorlan::filesync::testing {
namespace {

using com::Bstr;
using com::ComPtr;

class PluginTest : public FileSyncSuite {};

TEST_F(PluginTest, RegistersItsClassesUnderBothProgIds) {
    vorlan::testing::ExpectRegisteredUnderBothProgIds(
        {{L"Feldane.Vorlan", CLSID_Vorlan}, {L"Feldane.VorlanProperties", CLSID_VorlanProperties}});
    const CLSID vorlan = {0xB236842E, 0x0B21, 0x4F04, {0xAD, 0xF8, 0xFD, 0x78, 0xEA, 0x60, 0x45, 0xEC}};
    EXPECT_TRUE(IsEqualCLSID(CLSID_Vorlan, vorlan));
}

TEST_F(PluginTest, DescribesItsTable) {
    vorlan::testing::ExpectDescribesTable(
        L"Feldane.VorlanProperties",
        {"Feldane.Vorlan", "FileSync", "File Management",
         "Create/Delete files and folders on your CE device. Source of files can be the internet, local "
         "network or local workstation.",
         {"OriginUrl", "Dest", "FileAttributes", "DownloadAttributes"}});
}

TEST_F(PluginTest, CopiesAnItemAndDescribesItsFailures) {
    PutLocalFile("com.txt", "through COM");
    auto sync = vorlan::testing::CreateByProgId<IVorlan>(L"Feldane.Vorlan");
    ASSERT_TRUE(sync);
    ComPtr<ISupportErrorInfo> support;
    ASSERT_EQ(sync->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(support.Put())), S_OK);
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_IVorlan), S_OK);
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_IVorlanProperties), S_FALSE);

    EXPECT_EQ(sync->put_RegInfoKey(Bstr::FromAnsi(RegInfoKey()).Get()), S_OK);
    EXPECT_EQ(sync->Init(), S_OK);
    EXPECT_EQ(sync->put_ParentUrl(Bstr::FromAnsi(ParentUrl()).Get()), S_OK);
    ComPtr<IInfoNode> item;
    ASSERT_EQ(com::CreateInstance(CLSID_InfoNode, item), S_OK);
    item->SetAt(Bstr(L"OriginUrl").Get(), Bstr(L"com.txt").Get());
    item->SetAt(Bstr(L"Dest").Get(), Bstr(L"\\com.txt").Get());
    item->SetAt(Bstr(L"FileAttributes").Get(), Bstr(L"").Get());
    EXPECT_EQ(sync->PerformTransfer(item.Get()), S_OK);
    EXPECT_EQ(DeviceBytes(L"\\com.txt"), "through COM");

    item->SetAt(Bstr(L"OriginUrl").Get(), Bstr(L"absent.txt").Get());
    EXPECT_EQ(sync->PerformTransfer(item.Get()), STG_E_FILENOTFOUND);
    ComPtr<IErrorInfo> error;
    ASSERT_EQ(GetErrorInfo(0, error.Put()), S_OK);
    GUID guid = {};
    error->GetGUID(&guid);
    EXPECT_TRUE(IsEqualGUID(guid, CLSID_Vorlan));
    Bstr description;
    error->GetDescription(description.Put());
    EXPECT_NE(description.Ansi().find("absent.txt"), std::string::npos) << description.Ansi();
    EXPECT_EQ(DeviceBytes(L"\\com.txt"), "through COM");
}

}  // namespace
}  // namespace vorlan::filesync::testing
