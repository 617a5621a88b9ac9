// Tolvane through COM, as the core, the editor and scripts use it.
#include <gtest/gtest.h>

#include "Bstr.h"
#include "CeRapi.h"
#include "ComPtr.h"
#include "PluginChecks.h"
#include "RegSyncFixture.h"
#include "VorlanMessages.h"
#include "pindrel.h"
#include "tolvane.h"

namespace vorlan::regsync::testing {
namespace {

using com::Bstr;
using com::ComPtr;

ComPtr<IInfoNode> Item(const std::string& key, const std::string& value, const std::string& type) {
    ComPtr<IInfoNode> node;
    EXPECT_EQ(com::CreateInstance(CLSID_InfoNode, node), S_OK);
    node->SetAt(Bstr::FromAnsi("Key").Get(), Bstr::FromAnsi(key).Get());
    node->SetAt(Bstr::FromAnsi("Value").Get(), Bstr::FromAnsi(value).Get());
    node->SetAt(Bstr::FromAnsi("Type").Get(), Bstr::FromAnsi(type).Get());
    return node;
}

std::string ErrorDescription() {
    IErrorInfo* info = nullptr;
    if (GetErrorInfo(0, &info) != S_OK || !info) return {};
    Bstr text;
    info->GetDescription(text.Put());
    info->Release();
    return text.Ansi();
}

class PluginTest : public RegSyncSuite {};

TEST_F(PluginTest, RegistersItsClassesUnderBothProgIds) {
    const CLSID vorlan = {0x1D46216C, 0x307D, 0x49AD, {0xA5, 0x2A, 0x62, 0x40, 0x00, 0x52, 0x23, 0xD4}};
    const CLSID registry = {0x8B31FD9D, 0x6A02, 0x4BA3, {0x94, 0xBE, 0xD2, 0xC8, 0xC3, 0xCA, 0xA6, 0x9E}};
    const CLSID properties = {0xA5E5DF64, 0x180E, 0x44A9, {0xBE, 0x95, 0x4C, 0x87, 0x49, 0x04, 0x55, 0x27}};
    vorlan::testing::ExpectRegisteredUnderBothProgIds(
        {{L"Tolvane.Vorlan", vorlan}, {L"Tolvane.QvRegistry", registry}, {L"Tolvane.VorlanProperties", properties}});
    const IID scripting = {0x51D33CF4, 0xC7EF, 0x4EE1, {0x98, 0x13, 0xC0, 0x6C, 0x49, 0x79, 0x25, 0xFF}};
    EXPECT_TRUE(IsEqualIID(IID_IQvRegistry, scripting));
}

TEST_F(PluginTest, DescribesItsTable) {
    vorlan::testing::ExpectDescribesTable(
        L"Tolvane.VorlanProperties",
        {"Tolvane.Vorlan", "RegSync", "Registry Management",
         "Use this component to performs read and delete operation in the CE device registry or local "
         "workstation registry.",
         {"Key", "Value", "Type"}});
}

TEST_F(PluginTest, TheSynchroniserAppliesItemsAndDescribesItsFailures) {
    auto vorlan = vorlan::testing::CreateByProgId<IVorlan>(L"Tolvane.Vorlan");
    ASSERT_TRUE(vorlan);
    EXPECT_EQ(vorlan->put_RegInfoKey(Bstr::FromAnsi(RegInfoKey()).Get()), S_OK);
    ASSERT_EQ(vorlan->Init(), S_OK);
    const std::string path = TestKey() + "\\com\\Count";
    EXPECT_EQ(vorlan->PerformTransfer(Item(path, "3", "REG_DWORD").Get()), S_OK);
    EXPECT_EQ(DeviceValue(path), (StoredValue{REG_DWORD, Bytes({3, 0, 0, 0})}));

    EXPECT_EQ(vorlan->PerformTransfer(Item("HKEY_BOGUS\\A\\B", "3", "REG_DWORD").Get()), E_FAIL);
    EXPECT_NE(ErrorDescription().find("HKEY_BOGUS\\A\\B"), std::string::npos) << ErrorDescription();
    ExpectOneEvent(EVT_REGISTRY_VALUE_NOT_WRITTEN, "HKEY_BOGUS\\A\\B");

    ComPtr<ISupportErrorInfo> support;
    ASSERT_EQ(vorlan->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(support.Put())), S_OK);
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_IVorlan), S_OK);
}

// Scripts call CeRegistry by name; every call connects, and the object
// keeps one session at most, which goes with it.
TEST_F(PluginTest, ScriptsSetValuesWithoutLeavingSessionsOpen) {
    {
        auto registry = vorlan::testing::CreateByProgId<IDispatch>(L"Tolvane.QvRegistry");
        ASSERT_TRUE(registry);
        OLECHAR name[] = L"CeRegistry";
        LPOLESTR names[] = {name};
        DISPID id = 0;
        ASSERT_EQ(registry->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK);
        EXPECT_EQ(id, 1);
        for (const char* value : {"first", "second"}) {
            const std::string path = TestKey() + "\\script\\" + value;
            // Arguments travel in reverse order.
            VARIANT args[3];
            const std::string texts[] = {"REG_SZ", value, path};
            for (int i = 0; i < 3; ++i) {
                VariantInit(&args[i]);
                args[i].vt = VT_BSTR;
                args[i].bstrVal = com::AllocBstrFromAnsi(texts[i]);
            }
            DISPPARAMS params = {args, nullptr, 3, 0};
            EXPECT_EQ(registry->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr), S_OK)
                << value;
            for (VARIANT& arg : args) VariantClear(&arg);
            EXPECT_EQ(DeviceValue(path), (StoredValue{REG_SZ, Text16(com::WideFromAnsi(value))})) << value;
        }
        ComPtr<ISupportErrorInfo> support;
        ASSERT_EQ(registry->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(support.Put())), S_OK);
        EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_IQvRegistry), S_OK);
        EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_IVorlan), S_FALSE);
    }
    // No session is left open: one stop more than the starts is refused.
    EXPECT_EQ(CeRapiUninit(), E_FAIL);
}

}  // namespace
}  // namespace vorlan::regsync::testing
