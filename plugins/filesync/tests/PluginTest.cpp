// Feldane through COM, as the core and the editor use it.
#include <gtest/gtest.h>

#include "Bstr.h"
#include "ComPtr.h"
#include "FileSyncFixture.h"
#include "VorlanMessages.h"
#include "feldane.h"
#include "pindrel.h"

namespace vorlan::filesync::testing {
namespace {

using com::Bstr;
using com::ComPtr;

template <class T>
ComPtr<T> Create(const wchar_t* progId) {
    CLSID clsid = {};
    EXPECT_EQ(CLSIDFromProgID(progId, &clsid), S_OK) << progId;
    ComPtr<T> object;
    EXPECT_EQ(com::CreateInstance(clsid, object), S_OK) << progId;
    return object;
}

class PluginTest : public FileSyncSuite {};

TEST_F(PluginTest, RegistersItsClassesUnderBothProgIds) {
    const struct {
        const wchar_t* progId;
        const CLSID* clsid;
    } cases[] = {
        {L"Feldane.Vorlan", &CLSID_Vorlan},
        {L"Feldane.Vorlan.1", &CLSID_Vorlan},
        {L"Feldane.VorlanProperties", &CLSID_VorlanProperties},
        {L"Feldane.VorlanProperties.1", &CLSID_VorlanProperties},
    };
    for (const auto& c : cases) {
        CLSID clsid = {};
        EXPECT_EQ(CLSIDFromProgID(c.progId, &clsid), S_OK);
        EXPECT_TRUE(IsEqualCLSID(clsid, *c.clsid));
    }
    const CLSID vorlan = {0xB236842E, 0x0B21, 0x4F04, {0xAD, 0xF8, 0xFD, 0x78, 0xEA, 0x60, 0x45, 0xEC}};
    EXPECT_TRUE(IsEqualCLSID(CLSID_Vorlan, vorlan));
}

TEST_F(PluginTest, DescribesItsTable) {
    auto properties = Create<IVorlanProperties>(L"Feldane.VorlanProperties");
    ASSERT_TRUE(properties);
    const struct {
        HRESULT (STDMETHODCALLTYPE IVorlanProperties::*get)(BSTR*);
        const char* want;
    } texts[] = {
        {&IVorlanProperties::get_ProgId, "Feldane.Vorlan"},
        {&IVorlanProperties::get_TableName, "FileSync"},
        {&IVorlanProperties::get_ReadableName, "File Management"},
        {&IVorlanProperties::get_Description,
         "Create/Delete files and folders on your CE device. Source of files can be the internet, local network or "
         "local workstation."},
    };
    for (const auto& t : texts) {
        Bstr value;
        EXPECT_EQ((properties.Get()->*t.get)(value.Put()), S_OK);
        EXPECT_EQ(value.Ansi(), t.want);
    }
    short columns = 0;
    EXPECT_EQ(properties->get_ColumnCount(&columns), S_OK);
    EXPECT_EQ(columns, 4);
    ComPtr<IInfoNode> fields;
    ASSERT_EQ(properties->get_FieldNames(fields.Put()), S_OK);
    const char* names[] = {"OriginUrl", "Dest", "FileAttributes", "DownloadAttributes"};
    for (int i = 0; i < 4; ++i) {
        Bstr value;
        fields->GetProperty(Bstr::FromAnsi(std::to_string(i)).Get(), value.Put());
        EXPECT_EQ(value.Ansi(), names[i]);
    }
    HICON icon = nullptr;
    EXPECT_EQ(properties->get_SelectedIcon(&icon), S_OK);
    EXPECT_NE(icon, nullptr);
}

TEST_F(PluginTest, ItemDialogSaysItIsNotThereYet) {
    auto properties = Create<IVorlanProperties>(L"Feldane.VorlanProperties");
    ASSERT_TRUE(properties);
    // The plug-in's own message box helper answers and journals the box.
    const std::string journal = Local("boxes.txt");
    SetEnvironmentVariableA("VORLAN_MESSAGEBOX_JOURNAL", journal.c_str());
    ComPtr<IInfoNode> item;
    ASSERT_EQ(com::CreateInstance(CLSID_InfoNode, item), S_OK);
    item->SetAt(Bstr(L"Dest").Get(), Bstr(L"\\kept.txt").Get());
    IInfoNode* raw = item.Get();
    EXPECT_EQ(properties->ConfigNodeDlg(&raw, VARIANT_TRUE), ERROR_CANCELLED);
    EXPECT_EQ(raw, item.Get());
    SetEnvironmentVariableA("VORLAN_MESSAGEBOX_JOURNAL", nullptr);
    const std::string asked = vorlan::testing::ReadFileBytes(journal);
    EXPECT_NE(asked.find("File Management"), std::string::npos) << asked;
    EXPECT_NE(asked.find("The file item wizard is not built yet."), std::string::npos) << asked;
    Bstr dest;
    item->GetProperty(Bstr(L"Dest").Get(), dest.Put());
    EXPECT_EQ(dest.Ansi(), "\\kept.txt");
}

TEST_F(PluginTest, CopiesAnItemAndDescribesItsFailures) {
    PutLocalFile("com.txt", "through COM");
    auto sync = Create<IVorlan>(L"Feldane.Vorlan");
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
