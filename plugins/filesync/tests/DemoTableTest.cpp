// The demo project's file table, row by row through the plug-in as the
// core runs it, onto an emulated device.
#include <gtest/gtest.h>

#include "Bstr.h"
#include "ComPtr.h"
#include "FileSyncFixture.h"
#include "XmlSql.h"
#include "feldane.h"

namespace vorlan::filesync::testing {
namespace {

using com::Bstr;
using com::ComPtr;

class DemoTableTest : public FileSyncSuite {};

TEST_F(DemoTableTest, CopiesTheDemoContentOnceAndThenNothing) {
    const std::string table = vorlan::testing::WindowsPath(DEMO_TABLE);
    CXmlSql sql;
    CMapArray* rows = nullptr;
    ASSERT_EQ(sql.Execute(table, &rows), S_OK);
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->GetSize(), 3);

    ComPtr<IVorlan> sync;
    ASSERT_EQ(com::CreateInstance(CLSID_Vorlan, sync), S_OK);
    sync->put_RegInfoKey(Bstr::FromAnsi(RegInfoKey()).Get());
    ASSERT_EQ(sync->Init(), S_OK);
    ASSERT_EQ(sync->put_ParentUrl(Bstr::FromAnsi(table).Get()), S_OK);
    for (int run = 0; run < 2; ++run) {
        for (int i = 0; i < rows->GetSize(); ++i) {
            ComPtr<IInfoNode> row;
            ASSERT_EQ(rows->GetRowInfoNode(i, row.Put()), S_OK);
            EXPECT_EQ(sync->PerformTransfer(row.Get()), S_OK) << "row " << i << ", run " << run;
        }
    }
    const std::string folder = com::AnsiFromWide(device->HostPath(L"\\My Documents\\Vorlan demo"));
    const std::string content = vorlan::testing::WindowsPath(DEMO_TABLE);
    EXPECT_EQ(Tree(folder), (std::vector<std::string>{
                                "Inbox\\",
                                "docs\\",
                                "docs\\packing-list.txt=" + vorlan::testing::ReadFileBytes(
                                                                content.substr(0, content.rfind('\\')) +
                                                                "\\content\\docs\\packing-list.txt"),
                                "docs\\phone-numbers.csv=" + vorlan::testing::ReadFileBytes(
                                                                 content.substr(0, content.rfind('\\')) +
                                                                 "\\content\\docs\\phone-numbers.csv"),
                                "readme.txt=" + vorlan::testing::ReadFileBytes(content.substr(0, content.rfind('\\')) +
                                                                               "\\content\\readme.txt"),
                            }));
    const std::wstring readme = device->HostPath(L"\\Windows\\Vorlan demo readme.txt");
    EXPECT_TRUE(GetFileAttributesW(readme.c_str()) & FILE_ATTRIBUTE_READONLY);
    SetFileAttributesW(readme.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(Events().empty());
}

}  // namespace
}  // namespace vorlan::filesync::testing
