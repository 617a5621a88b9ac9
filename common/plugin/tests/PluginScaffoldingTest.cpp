#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "Bstr.h"
#include "ComPtr.h"
#include "TestSupport.h"
#include "pindrel.h"
#include "recorder.h"

using vorlan::com::Bstr;
using vorlan::com::ComPtr;

namespace {

class PluginScaffoldingTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_HRESULT_SUCCEEDED(com_.Result());
        journal_ = folder_ / "journal.txt";
        SetEnvironmentVariableA("VORLAN_RECORDER_JOURNAL", journal_.c_str());
        SetEnvironmentVariableA("VORLAN_RECORDER_FAIL_INIT", nullptr);
    }
    void TearDown() override { SetEnvironmentVariableA("VORLAN_RECORDER_JOURNAL", nullptr); }

    template <class T>
    ComPtr<T> Create(const wchar_t* progId) {
        CLSID clsid = {};
        EXPECT_EQ(CLSIDFromProgID(progId, &clsid), S_OK) << progId;
        ComPtr<T> object;
        EXPECT_EQ(vorlan::com::CreateInstance(clsid, object), S_OK);
        return object;
    }
    std::string Journal() {
        DWORD attributes = GetFileAttributesA(journal_.c_str());
        return attributes == INVALID_FILE_ATTRIBUTES ? "" : vorlan::testing::ReadFileBytes(journal_);
    }

    vorlan::testing::ComScope com_;
    vorlan::testing::TempFolder folder_;
    std::string journal_;
};

TEST_F(PluginScaffoldingTest, ForwardsCallsAndResultsToTheEngine) {
    auto sync = Create<IVorlan>(L"Recorder.Vorlan");
    ASSERT_TRUE(sync);
    EXPECT_EQ(sync->Init(), S_OK);
    EXPECT_EQ(sync->put_ParentUrl(Bstr(L"file:///C:/p/top.xml").Get()), S_OK);

    ComPtr<IInfoNode> item;
    ASSERT_EQ(vorlan::com::CreateInstance(CLSID_InfoNode, item), S_OK);
    item->SetAt(Bstr(L"Name").Get(), Bstr(L"one").Get());
    EXPECT_EQ(sync->PerformTransfer(item.Get()), S_OK);
    item->SetAt(Bstr(L"Fail").Get(), Bstr(L"S_FALSE").Get());
    EXPECT_EQ(sync->PerformTransfer(item.Get()), S_FALSE);
    item->SetAt(Bstr(L"Fail").Get(), Bstr(L"broken item").Get());
    EXPECT_EQ(sync->PerformTransfer(item.Get()), E_FAIL);

    // The failure is described by the thread's error information.
    ComPtr<IErrorInfo> error;
    ASSERT_EQ(GetErrorInfo(0, error.Put()), S_OK);
    GUID guid = {};
    error->GetGUID(&guid);
    EXPECT_TRUE(IsEqualGUID(guid, CLSID_Vorlan));
    Bstr description;
    error->GetDescription(description.Put());
    EXPECT_FALSE(description.Ansi().empty());

    sync.Reset();
    EXPECT_EQ(Journal(),
              "Create\nInit\nParentUrl file:///C:/p/top.xml\n"
              "PerformTransfer Name=one Value=\n"
              "PerformTransfer Name=one Value= Fail=S_FALSE\n"
              "PerformTransfer Name=one Value= Fail=broken item\n"
              "Release\n");
}

TEST_F(PluginScaffoldingTest, InitFailureIsReturnedUnchanged) {
    SetEnvironmentVariableA("VORLAN_RECORDER_FAIL_INIT", "1");
    auto sync = Create<IVorlan>(L"Recorder.Vorlan");
    EXPECT_EQ(sync->Init(), E_FAIL);
}

TEST_F(PluginScaffoldingTest, PropertiesAlwaysHandOutNewStrings) {
    auto sync = Create<IVorlan>(L"Recorder.Vorlan");
    BSTR url = nullptr;
    ASSERT_EQ(sync->get_ParentUrl(&url), S_OK);
    ASSERT_NE(url, nullptr);  // empty, not NULL
    EXPECT_EQ(SysStringLen(url), 0u);
    SysFreeString(url);

    ASSERT_EQ(sync->put_RegInfoKey(Bstr(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\X\\Source").Get()), S_OK);
    Bstr key;
    ASSERT_EQ(sync->get_RegInfoKey(key.Put()), S_OK);
    EXPECT_EQ(key.Ansi(), "HKEY_LOCAL_MACHINE\\SOFTWARE\\X\\Source");
    ASSERT_EQ(sync->put_RegInfoKey(Bstr(L"").Get()), S_OK);
    ASSERT_EQ(sync->get_RegInfoKey(key.Put()), S_OK);
    ASSERT_NE(key.Get(), nullptr);
    EXPECT_EQ(key.Length(), 0u);
}

TEST_F(PluginScaffoldingTest, ErrorInfoIsSupportedForIVorlanOnly) {
    auto sync = Create<IVorlan>(L"Recorder.Vorlan");
    ComPtr<ISupportErrorInfo> support;
    ASSERT_EQ(sync.As(support), S_OK);
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_IVorlan), S_OK);
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_IVorlanProperties), S_FALSE);
}

TEST_F(PluginScaffoldingTest, AggregationMayOnlyAskForIUnknown) {
    CLSID clsid = {};
    ASSERT_EQ(CLSIDFromProgID(L"Recorder.Vorlan", &clsid), S_OK);
    auto outer = Create<IVorlan>(L"Recorder.Vorlan");
    ComPtr<IVorlan> refused;
    EXPECT_EQ(CoCreateInstance(clsid, outer.Get(), CLSCTX_INPROC_SERVER, IID_IVorlan,
                               refused.PutVoid()),
              CLASS_E_NOAGGREGATION);
}

TEST_F(PluginScaffoldingTest, DescriptionComesFromThePluginsOwnResources) {
    auto props = Create<IVorlanProperties>(L"Recorder.VorlanProperties");
    ASSERT_TRUE(props);
    Bstr text;
    EXPECT_EQ(props->get_ProgId(text.Put()), S_OK);
    EXPECT_EQ(text.Ansi(), "Recorder.Vorlan");
    EXPECT_EQ(props->get_ReadableName(text.Put()), S_OK);
    EXPECT_EQ(text.Ansi(), "Recorder");  // not the host's own string 103
    EXPECT_EQ(props->get_Description(text.Put()), S_OK);
    EXPECT_EQ(text.Ansi(), "Records every call it receives.");
    EXPECT_EQ(props->get_TableName(text.Put()), S_OK);
    EXPECT_EQ(text.Ansi(), "RecorderSync");
    short columns = 0;
    EXPECT_EQ(props->get_ColumnCount(&columns), S_OK);
    EXPECT_EQ(columns, 3);
    HICON selected = nullptr, unselected = nullptr;
    EXPECT_EQ(props->get_SelectedIcon(&selected), S_OK);
    EXPECT_EQ(props->get_UnselectedIcon(&unselected), S_OK);
    EXPECT_NE(selected, nullptr);
    EXPECT_NE(unselected, nullptr);

    ComPtr<IInfoNode> fields;
    ASSERT_EQ(props->get_FieldNames(fields.Put()), S_OK);
    std::string names;
    for (const wchar_t* key : {L"0", L"1", L"2"}) {
        Bstr name;
        fields->GetProperty(Bstr(key).Get(), name.Put());
        names += name.Ansi() + ";";
    }
    EXPECT_EQ(names, "Name;Value;Fail;");

    IInfoNode* item = fields.Get();
    EXPECT_EQ(props->ConfigNodeDlg(&item, VARIANT_TRUE), static_cast<HRESULT>(ERROR_CANCELLED));
}

TEST_F(PluginScaffoldingTest, ReadableNameThroughIDispatch) {
    auto props = Create<IDispatch>(L"Recorder.VorlanProperties");
    DISPID id = 0;
    LPOLESTR name = const_cast<LPOLESTR>(L"ReadableName");
    ASSERT_EQ(props->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id), S_OK);
    EXPECT_EQ(id, 4);
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    VARIANT result;
    VariantInit(&result);
    ASSERT_EQ(props->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &result,
                            nullptr, nullptr),
              S_OK);
    ASSERT_EQ(result.vt, VT_BSTR);
    EXPECT_STREQ(result.bstrVal, L"Recorder");
    VariantClear(&result);
}

}  // namespace
