// Ebrinth as the editor and script clients see it, and its registration.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "Bstr.h"
#include "ComPtr.h"
#include "TestSupport.h"
#include "ebrinth.h"
#include "pindrel.h"

namespace vorlan {
namespace {

using com::Bstr;
using com::ComPtr;

const char kUnknownPluginText[] =
    "The plugin you specified is unknown. Please make sure that:\n\n1) The software is properly installed.\n"
    "2) The URL is correct.\n3) There are no typos in the XML files.\n4) Your device is connected.";

class FallbackTest : public ::testing::Test {
protected:
    ComPtr<IVorlanProperties> Create() {
        ComPtr<IVorlanProperties> properties;
        EXPECT_EQ(com::CreateInstance(CLSID_VorlanProperties, properties), S_OK);
        return properties;
    }
    vorlan::testing::ComScope com_;
};

// A key of HKEY_CLASSES_ROOT and its default value (or a named one).
std::string ClassesValue(const std::string& key, const char* name = nullptr) {
    char text[512] = {};
    DWORD size = sizeof text;
    if (RegGetValueA(HKEY_CLASSES_ROOT, key.c_str(), name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return "<none>";
    return text;
}

TEST_F(FallbackTest, AnswersEveryPropertyWithItsConstant) {
    auto properties = Create();
    ASSERT_TRUE(properties);
    const struct {
        HRESULT (STDMETHODCALLTYPE IVorlanProperties::*get)(BSTR*);
        const char* name;
        const char* want;
    } texts[] = {
        {&IVorlanProperties::get_ProgId, "ProgId", ""},
        {&IVorlanProperties::get_ReadableName, "ReadableName", "Error"},
        {&IVorlanProperties::get_Description, "Description", "Unknown component"},
        {&IVorlanProperties::get_TableName, "TableName", "Unknown"},
    };
    for (const auto& t : texts) {
        BSTR value = nullptr;
        EXPECT_EQ((properties.Get()->*t.get)(&value), S_OK) << t.name;
        // Empty, yet a real string: callers may take its length.
        EXPECT_NE(value, nullptr) << t.name;
        EXPECT_EQ(com::AnsiFromBstr(value), t.want) << t.name;
        SysFreeString(value);
    }
    short columns = -1;
    EXPECT_EQ(properties->get_ColumnCount(&columns), S_OK);
    EXPECT_EQ(columns, 0);
    ComPtr<IInfoNode> fields;
    ASSERT_EQ(properties->get_FieldNames(fields.Put()), S_OK);
    ASSERT_TRUE(fields);
    Bstr first, second;
    fields->GetProperty(Bstr(L"0").Get(), first.Put());
    fields->GetProperty(Bstr(L"1").Get(), second.Put());
    EXPECT_EQ(first.Ansi(), "Unknown");
    EXPECT_EQ(second.Ansi(), "");
    HICON selected = nullptr, unselected = nullptr;
    EXPECT_EQ(properties->get_SelectedIcon(&selected), S_OK);
    EXPECT_EQ(properties->get_UnselectedIcon(&unselected), S_OK);
    EXPECT_NE(selected, nullptr);
    EXPECT_EQ(selected, unselected);
    EXPECT_EQ(properties->get_ColumnCount(nullptr), E_POINTER);
    EXPECT_EQ(properties->get_TableName(nullptr), E_POINTER);
    EXPECT_EQ(properties->get_FieldNames(nullptr), E_POINTER);
}

TEST_F(FallbackTest, FieldNamesAnswersTheNodesCreationFailure) {
    auto properties = Create();
    ASSERT_TRUE(properties);
    // A thread without COM cannot create the node: its error comes back,
    // and no half-made node.
    HRESULT hr = S_OK;
    IInfoNode* fields = reinterpret_cast<IInfoNode*>(1);
    std::thread([&] { hr = properties->get_FieldNames(&fields); }).join();
    EXPECT_EQ(hr, CO_E_NOTINITIALIZED);
    EXPECT_EQ(fields, nullptr);
}

TEST_F(FallbackTest, CreatedByEitherProgId) {
    for (const wchar_t* progId : {L"Ebrinth.VorlanProperties", L"Ebrinth.VorlanProperties.1"}) {
        CLSID clsid = {};
        EXPECT_EQ(CLSIDFromProgID(progId, &clsid), S_OK);
        EXPECT_TRUE(IsEqualCLSID(clsid, CLSID_VorlanProperties));
    }
    const CLSID fallback = {0xB66A669D, 0xEAD7, 0x4676, {0x9E, 0x77, 0x5E, 0xCE, 0x3F, 0x0D, 0x59, 0x4E}};
    EXPECT_TRUE(IsEqualCLSID(CLSID_VorlanProperties, fallback));
}

TEST_F(FallbackTest, DialogExplainsTheUnknownKindAndLeavesTheItem) {
    auto properties = Create();
    ASSERT_TRUE(properties);
    vorlan::testing::TempFolder folder;
    const std::string journal = folder / "boxes.txt";
    SetEnvironmentVariableA("VORLAN_MESSAGEBOX_JOURNAL", journal.c_str());
    ComPtr<IInfoNode> item;
    ASSERT_EQ(com::CreateInstance(CLSID_InfoNode, item), S_OK);
    item->SetAt(Bstr(L"Key").Get(), Bstr(L"kept").Get());
    for (VARIANT_BOOL isNew : {VARIANT_FALSE, VARIANT_TRUE}) {
        IInfoNode* raw = item.Get();
        EXPECT_EQ(properties->ConfigNodeDlg(&raw, isNew), S_OK);
        EXPECT_EQ(raw, item.Get());
    }
    SetEnvironmentVariableA("VORLAN_MESSAGEBOX_JOURNAL", nullptr);
    // Journaled with line breaks written as "\n": twice, no owner's caption
    // but the module's, the error icon and only an OK button, answered OK.
    std::string escaped;
    for (char c : std::string(kUnknownPluginText)) escaped += c == '\n' ? std::string("\\n") : std::string(1, c);
    const std::string line = "messagebox\tEbrinth\t" + escaped + "\t0x10\t1\n";
    EXPECT_EQ(vorlan::testing::ReadFileBytes(journal), line + line);
    Bstr key;
    item->GetProperty(Bstr(L"Key").Get(), key.Put());
    EXPECT_EQ(key.Ansi(), "kept");
}

TEST_F(FallbackTest, ScriptClientReadsItsName) {
    vorlan::testing::TempFolder folder;
    const std::string script = folder / "name.js";
    vorlan::testing::WriteFileBytes(
        script,
        "var o = new ActiveXObject(\"Ebrinth.VorlanProperties\");\r\n"
        "WScript.Quit(o.ReadableName == \"Error\" && o.TableName == \"Unknown\" && o.ColumnCount == 0 ? 7 : 1);\r\n");
    EXPECT_EQ(vorlan::testing::RunProgram("cscript //nologo \"" + script + "\""), 7);
}

TEST_F(FallbackTest, RegistersAndRemovesEveryKey) {
    const std::string dll = vorlan::testing::WindowsPath(EBRINTH_DLL);
    const std::string clsid = "CLSID\\{B66A669D-EAD7-4676-9E77-5ECE3F0D594E}";
    const std::string appId = "{AF336E0A-D522-4B59-A3E7-DEFA0BC91214}";
    const std::string typeLib = "TypeLib\\{01CE1D75-4AD8-4562-810E-A68697B400BF}\\1.0";
    const struct {
        std::string key;
        const char* name;
        std::string registered;
    } keys[] = {
        {clsid, nullptr, "VorlanProperties Class"},
        {clsid + "\\ProgID", nullptr, "Ebrinth.VorlanProperties.1"},
        {clsid + "\\VersionIndependentProgID", nullptr, "Ebrinth.VorlanProperties"},
        {clsid + "\\InprocServer32", "ThreadingModel", "Apartment"},
        {clsid + "\\TypeLib", nullptr, "{01CE1D75-4AD8-4562-810E-A68697B400BF}"},
        {"Ebrinth.VorlanProperties", nullptr, "VorlanProperties Class"},
        {"Ebrinth.VorlanProperties\\CurVer", nullptr, "Ebrinth.VorlanProperties.1"},
        {"Ebrinth.VorlanProperties.1\\CLSID", nullptr, "{B66A669D-EAD7-4676-9E77-5ECE3F0D594E}"},
        {typeLib, nullptr, "Ebrinth 1.0 Type Library"},
        {"AppID\\" + appId, nullptr, "Ebrinth"},
        {"AppID\\Ebrinth.DLL", "AppID", appId},
    };
    auto check = [&](bool registered) {
        for (const auto& k : keys)
            EXPECT_EQ(ClassesValue(k.key, k.name), registered ? k.registered : "<none>") << k.key;
    };
    check(true);  // as the installation's regsvr32 left it

    // Removed and written again in classes of the test's own: unregistering
    // a type library also takes away the keys of the interfaces every
    // server shares, which the other test programs of the run rely on.
    HMODULE module = LoadLibraryA(dll.c_str());
    ASSERT_NE(module, nullptr);
    using Entry = HRESULT(WINAPI*)();
    const auto reg = reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(module, "DllRegisterServer")));
    const auto unreg = reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(module, "DllUnregisterServer")));
    ASSERT_TRUE(reg && unreg);
    const std::string own = "Software\\" + vorlan::testing::UniqueName("EbrinthClasses");
    HKEY classes = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, own.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &classes,
                              nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegOverridePredefKey(HKEY_CLASSES_ROOT, classes), ERROR_SUCCESS);
    check(false);
    EXPECT_EQ(reg(), S_OK);
    check(true);
    EXPECT_EQ(unreg(), S_OK);
    check(false);
    RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
    RegCloseKey(classes);
    RegDeleteTreeA(HKEY_CURRENT_USER, own.c_str());
    FreeLibrary(module);
    check(true);
}

}  // namespace
}  // namespace vorlan
