// The core's description of its component table (VorlanProperties), the
// wrapper that finds a plug-in's description, and the DeviceInfo automation
// object over an emulated device.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "Bstr.h"
#include "ComPtr.h"
#include "DeviceEmulator.h"
#include "TestSupport.h"
#include "VorlanPropWrapper.h"
#include "corvath.h"

namespace vorlan::testing {
namespace {

std::string Take(BSTR text) {
    std::string ansi = com::AnsiFromBstr(text);
    SysFreeString(text);
    return ansi;
}

TEST(VorlanPropertiesTest, DescribesTheComponentTable) {
    ComScope com;
    com::ComPtr<IVorlanProperties> properties;
    CLSID byProgId;
    ASSERT_EQ(CLSIDFromProgID(L"Corvath.VorlanProperties", &byProgId), S_OK);
    EXPECT_TRUE(IsEqualCLSID(byProgId, CLSID_VorlanProperties));
    ASSERT_EQ(com::CreateInstance(CLSID_VorlanProperties, properties), S_OK);

    using Getter = HRESULT (STDMETHODCALLTYPE IVorlanProperties::*)(BSTR*);
    const std::pair<Getter, const char*> texts[] = {
        {&IVorlanProperties::get_ProgId, "Corvath.Vorlan"},
        {&IVorlanProperties::get_ReadableName, "Component Management"},
        {&IVorlanProperties::get_Description,
         "Use this component to determine synchronization frequency of subcomponents."},
        {&IVorlanProperties::get_TableName, "PlugInsCfg"},
    };
    for (const auto& [getter, want] : texts) {
        BSTR text = nullptr;
        EXPECT_EQ(((properties.Get())->*getter)(&text), S_OK) << want;
        EXPECT_EQ(Take(text), want);
        EXPECT_EQ(((properties.Get())->*getter)(nullptr), E_POINTER) << want;
    }

    short columns = 0;
    EXPECT_EQ(properties->get_ColumnCount(&columns), S_OK);
    EXPECT_EQ(columns, 6);
    com::ComPtr<IInfoNode> fields;
    ASSERT_EQ(properties->get_FieldNames(fields.Put()), S_OK);
    std::vector<std::string> names;
    for (int i = 0; i <= 6; ++i) {
        BSTR name = nullptr;
        fields->GetProperty(com::Bstr::FromAnsi(std::to_string(i)).Get(), &name);
        names.push_back(Take(name));
    }
    EXPECT_EQ(names, (std::vector<std::string>{"ProgId", "ConfigUrl", "Name", "Version", "AlwaysSync", "Patch", ""}));

    HICON selected = nullptr, unselected = nullptr;
    EXPECT_EQ(properties->get_SelectedIcon(&selected), S_OK);
    EXPECT_EQ(properties->get_UnselectedIcon(&unselected), S_OK);
    EXPECT_NE(selected, nullptr);
    EXPECT_NE(unselected, nullptr);
    EXPECT_NE(selected, unselected);

    // The dialog needs a row.
    EXPECT_EQ(properties->ConfigNodeDlg(nullptr, VARIANT_FALSE), E_POINTER);
    IInfoNode* none = nullptr;
    EXPECT_EQ(properties->ConfigNodeDlg(&none, VARIANT_TRUE), E_POINTER);

    // Late-bound, through the type library.
    com::ComPtr<IDispatch> dispatch;
    ASSERT_EQ(properties->QueryInterface(IID_IDispatch, dispatch.PutVoid()), S_OK);
    OLECHAR name[] = L"TableName";
    LPOLESTR names1[] = {name};
    DISPID id = 0;
    ASSERT_EQ(dispatch->GetIDsOfNames(IID_NULL, names1, 1, LOCALE_USER_DEFAULT, &id), S_OK);
    EXPECT_EQ(id, 9);
}

// A description that cannot be made is replaced by the core's own.
TEST(VorlanPropWrapperTest, FindsAPluginsDescriptionOrFallsBackToTheCores) {
    ComScope com;
    const std::pair<const char*, const char*> cases[] = {
        {"Feldane.VorlanProperties", "FileSync"},
        {"Nope.VorlanProperties", "PlugInsCfg"},
        {"", "PlugInsCfg"},
        {"Corvath.VorlanProperties", "PlugInsCfg"},
    };
    for (const auto& [progId, table] : cases) {
        CVorlanPropWrapper wrapper(progId);
        ASSERT_TRUE(static_cast<bool>(wrapper)) << progId;
        EXPECT_EQ(wrapper.TableName(), table) << progId;
    }
    EXPECT_EQ(CVorlanPropWrapper("Nope.VorlanProperties").ReadableName(), "Component Management");
    EXPECT_EQ(CVorlanPropWrapper("Feldane.VorlanProperties").ProgId(), "Feldane.Vorlan");
}

constexpr char kProfile[] =
    "DeviceName = Scripted PDA\n"
    "OwnerName = Ada Lovelace\n"
    "OwnerCompany = Analytical Engines\n"
    "OwnerAddress = 12 St James's Square\n"
    "OwnerTelephone = +44 20 7946 0000\n"
    "OwnerEmail = ada@example.org\n"
    "OsMajor = 5\n"
    "OsMinor = 1\n"
    "OsBuild = 2000\n"
    "PlatformId = 3\n"
    "ProcessorType = 2577\n"
    "ProcessorArchitecture = 5\n"
    "TotalPhys = 65536000\n"
    "AvailPhys = 40000000\n"
    "StoreSize = 50000000\n"
    "FreeSize = 20000000\n";

using TextGetter = HRESULT (STDMETHODCALLTYPE IDeviceInfo::*)(BSTR*);
using SizeGetter = HRESULT (STDMETHODCALLTYPE IDeviceInfo::*)(ULONG*);

struct TextFact {
    const char* name;
    TextGetter getter;
    const char *withDevice, *withoutDevice;
};
const TextFact kTextFacts[] = {
    {"ProcessorType", &IDeviceInfo::get_ProcessorType, "STRONGARM", "UNKNOWN"},
    {"ProcessorArchitecture", &IDeviceInfo::get_ProcessorArchitecture, "ARM", "UNKNOWN"},
    {"OsPlatformId", &IDeviceInfo::get_OsPlatformId, "WIN32_CE", ""},
    {"OsVersion", &IDeviceInfo::get_OsVersion, "5.1", "0.0"},
    {"OsBuildNumber", &IDeviceInfo::get_OsBuildNumber, "2000", "0"},
    {"OwnerName", &IDeviceInfo::get_OwnerName, "Ada Lovelace", ""},
    {"OwnerCompany", &IDeviceInfo::get_OwnerCompany, "Analytical Engines", ""},
    {"OwnerAddress", &IDeviceInfo::get_OwnerAddress, "12 St James's Square", ""},
    {"OwnerTelephone", &IDeviceInfo::get_OwnerTelephone, "+44 20 7946 0000", ""},
    {"OwnerEmail", &IDeviceInfo::get_OwnerEmail, "ada@example.org", ""},
    {"DeviceName", &IDeviceInfo::get_DeviceName, "Scripted PDA", "Unknown"},
};

struct SizeFact {
    const char* name;
    SizeGetter getter;
    ULONG withDevice;
};
const SizeFact kSizeFacts[] = {
    {"TotalPhysicalMemory", &IDeviceInfo::get_TotalPhysicalMemory, 65536000},
    {"AvailablePhysicalMemory", &IDeviceInfo::get_AvailablePhysicalMemory, 40000000},
    {"UsedPhysicalMemory", &IDeviceInfo::get_UsedPhysicalMemory, 25536000},
    {"StorageSize", &IDeviceInfo::get_StorageSize, 50000000},
    {"AvailableStorageSize", &IDeviceInfo::get_AvailableStorageSize, 20000000},
    {"UsedStorageSize", &IDeviceInfo::get_UsedStorageSize, 30000000},
};

// Every fact as the device's profile gives it; without a device, what the
// failed calls leave. The serial number is never known.
void ExpectFacts(IDeviceInfo* info, bool device) {
    for (const TextFact& fact : kTextFacts) {
        BSTR text = nullptr;
        EXPECT_EQ((info->*fact.getter)(&text), S_OK) << fact.name;
        EXPECT_EQ(Take(text), device ? fact.withDevice : fact.withoutDevice) << fact.name;
    }
    for (const SizeFact& fact : kSizeFacts) {
        ULONG size = 1;
        EXPECT_EQ((info->*fact.getter)(&size), S_OK) << fact.name;
        EXPECT_EQ(size, device ? fact.withDevice : 0u) << fact.name;
    }
    BSTR serial = reinterpret_cast<BSTR>(1);
    EXPECT_EQ(info->get_DeviceSerialNumber(&serial), E_FAIL);
    EXPECT_EQ(serial, nullptr);
}

TEST(DeviceInfoTest, FactsOfTheEmulatedDevice) {
    ComScope com;
    DeviceEmulator device(kProfile);
    device.UseForRapi();
    com::ComPtr<IDeviceInfo> info;
    ASSERT_EQ(com::CreateInstance(CLSID_DeviceInfo, info), S_OK);
    ASSERT_EQ(info->Init(), S_OK);
    ExpectFacts(info.Get(), true);
    EXPECT_EQ(info->ResetProxy(), S_OK);
    ExpectFacts(info.Get(), true);
}

TEST(DeviceInfoTest, WithoutADevice) {
    ComScope com;
    TempFolder folder;
    SetEnvironmentVariableA("VORLAN_DEVICE", (folder / "nothing").c_str());
    com::ComPtr<IDeviceInfo> info;
    ASSERT_EQ(com::CreateInstance(CLSID_DeviceInfo, info), S_OK);
    EXPECT_TRUE(FAILED(info->Init()));
    ExpectFacts(info.Get(), false);
    SetEnvironmentVariableA("VORLAN_DEVICE", nullptr);
}

// A script reads the facts late-bound, by name.
TEST(DeviceInfoTest, AScriptReadsTheDeviceLateBound) {
    DeviceEmulator device(kProfile);
    device.UseForRapi();
    TempFolder folder;
    const std::string out = folder / "facts.txt";
    ASSERT_EQ(RunProgram("cscript //nologo \"" + WindowsPath(DEVICEINFO_SCRIPT_PATH) + "\" \"" + out + "\""), 0);
    EXPECT_EQ(ReadFileBytes(out), "Scripted PDA\r\n50000000\r\n");
}

}  // namespace
}  // namespace vorlan::testing
