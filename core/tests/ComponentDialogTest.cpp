// The component dialog through the core's description object
// (ConfigNodeDlg), one row at a time: what it shows for the row and what
// the row holds afterwards.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <map>
#include <string>

#include "Bstr.h"
#include "ComPtr.h"
#include "DialogDriver.h"
#include "RegistryByPath.h"
#include "Resource.h"
#include "Settings.h"
#include "TestSupport.h"
#include "WindowCapture.h"
#include "corvath.h"
#include "pindrel.h"

namespace vorlan::testing {
namespace {

using Row = std::map<std::string, std::string>;

const char kFeldaneEntry[] = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Dravenhall\\Common\\IVorlan\\ProgId\\filesync";
const char kCoreEntry[] = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Dravenhall\\Common\\IVorlan\\ProgId\\plugInscfg";
const char kFeldaneDescription[] =
    "Create/Delete files and folders on your CE device. Source of files can be the internet, local network or local "
    "workstation.";

// What the dialog showed when it opened.
struct Shown {
    std::string name, url, version, patch, description;
    std::vector<std::string> types;
    int type = -2;
    bool always = false, versionEnabled = false, patchEnabled = false;
};

Shown Read(HWND dialog) {
    Shown shown;
    shown.name = ItemText(dialog, IDC_COMPONENT_NAME);
    shown.url = ItemText(dialog, IDC_COMPONENT_URL);
    shown.version = ItemText(dialog, IDC_COMPONENT_VERSION);
    shown.patch = ItemText(dialog, IDC_COMPONENT_PATCH);
    shown.description = ItemText(dialog, IDC_COMPONENT_DESCRIPTION);
    shown.types = ComboEntries(dialog, IDC_COMPONENT_TYPE);
    shown.type = ComboSelection(dialog, IDC_COMPONENT_TYPE);
    shown.always = IsChecked(dialog, IDC_ALWAYS_SYNC);
    shown.versionEnabled = IsEnabled(dialog, IDC_COMPONENT_VERSION);
    shown.patchEnabled = IsEnabled(dialog, IDC_COMPONENT_PATCH);
    return shown;
}

class ComponentDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(com_.Result()));
        // As an installation lists them: the file plug-in and the core.
        ASSERT_EQ(RegWriteString(kFeldaneEntry, "Feldane.Vorlan"), ERROR_SUCCESS);
        ASSERT_EQ(RegWriteString(kCoreEntry, "Corvath.Vorlan"), ERROR_SUCCESS);
        ASSERT_EQ(com::CreateInstance(CLSID_VorlanProperties, properties_), S_OK);
    }
    void TearDown() override {
        DeleteRegValue(kFeldaneEntry);
        DeleteRegValue(kCoreEntry);
    }

    com::ComPtr<IInfoNode> Node(const Row& row) {
        com::ComPtr<IInfoNode> node;
        EXPECT_EQ(com::CreateInstance(CLSID_InfoNode, node), S_OK);
        for (const auto& [key, value] : row)
            node->SetAt(com::Bstr::FromAnsi(key).Get(), com::Bstr::FromAnsi(value).Get());
        return node;
    }
    static std::string Field(IInfoNode* node, const std::string& key) {
        BSTR value = nullptr;
        node->GetProperty(com::Bstr::FromAnsi(key).Get(), &value);
        std::string text = com::AnsiFromBstr(value);
        SysFreeString(value);
        return text;
    }
    static Row Fields(IInfoNode* node) {
        Row row;
        for (const char* key : {"Name", "ProgId", "ConfigUrl", "Version", "Patch", "AlwaysSync", "QvMy_URL"})
            row[key] = Field(node, key);
        return row;
    }
    // ConfigNodeDlg on the row, drive working the dialog; its result.
    HRESULT Edit(IInfoNode* node, const std::function<void(HWND)>& drive) {
        HRESULT hr = E_UNEXPECTED;
        IInfoNode* row = node;
        const bool shown = WithDialog("Component Management",
                                      [&] { hr = properties_->ConfigNodeDlg(&row, VARIANT_FALSE); },
                                      [&](HWND dialog) {
                                          drive(dialog);
                                          EXPECT_TRUE(WaitForClose(dialog));
                                      });
        EXPECT_TRUE(shown);
        EXPECT_EQ(row, node) << "the dialog edits the row it was given";
        return hr;
    }

    ComScope com_;
    MessageBoxJournal boxes_;
    com::ComPtr<IVorlanProperties> properties_;
};

TEST_F(ComponentDialogTest, RowsInAndOut) {
    struct Case {
        const char* note;
        Row in;
        std::function<void(HWND)> act;  // before OK
        HRESULT result;
        Row changes;  // fields of the row afterwards that differ from in
    };
    const auto untouched = [](HWND) {};
    const auto uncheckAndType = [](HWND dialog) {
        Click(dialog, IDC_ALWAYS_SYNC);
        SetItemText(dialog, IDC_COMPONENT_VERSION, "1.5");
        SetItemText(dialog, IDC_COMPONENT_PATCH, "2");
    };
    const Row full = {{"Name", "Files"}, {"ProgId", "feldane.vorlan"}, {"ConfigUrl", "files.xml"},
                      {"Version", "1.2.3"}, {"Patch", "4"}, {"AlwaysSync", "0"}, {"QvMy_URL", "C:\\p\\top.xml"}};
    Row unknown = full;
    unknown["ProgId"] = "X.Vorlan";
    Row always = full;
    always["AlwaysSync"] = "1";
    Row noFlag = full;
    noFlag.erase("AlwaysSync");
    const Case cases[] = {
        {"confirmed untouched: the version's own text stays", full, untouched, S_OK,
         {{"ProgId", "Feldane.Vorlan"}}},
        {"a plug-in that is not installed keeps its ProgId", unknown, untouched, S_OK, {}},
        {"typed version and patch", always, uncheckAndType, S_OK,
         {{"ProgId", "Feldane.Vorlan"}, {"Version", "1.50"}, {"Patch", "2"}, {"AlwaysSync", "0"}}},
        {"always synchronised: version, patch and flag empty", noFlag, untouched, S_OK,
         {{"ProgId", "Feldane.Vorlan"}, {"Version", ""}, {"Patch", ""}, {"AlwaysSync", ""}}},
        {"another plug-in chosen", full, [](HWND d) { ChooseComboEntry(d, IDC_COMPONENT_TYPE, 1); }, S_OK,
         {{"ProgId", "Corvath.Vorlan"}}},
        {"renamed, the URL kept", full, [](HWND d) { SetItemText(d, IDC_COMPONENT_NAME, "Other"); }, S_OK,
         {{"Name", "Other"}, {"ProgId", "Feldane.Vorlan"}}},
        {"a new row: the name fills the URL", {}, [](HWND d) {
             for (const char* typed : {"F", "Fi", "Files"}) SetItemText(d, IDC_COMPONENT_NAME, typed);
         },
         S_OK, {{"Name", "Files"}, {"ConfigUrl", "Files.xml"}}},
        {"a new row whose URL was edited: the name no longer fills it", {}, [](HWND d) {
             SetItemText(d, IDC_COMPONENT_NAME, "Fi");
             SetItemText(d, IDC_COMPONENT_URL, "own.xml");
             SetItemText(d, IDC_COMPONENT_NAME, "Files");
         },
         S_OK, {{"Name", "Files"}, {"ConfigUrl", "own.xml"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.note);
        com::ComPtr<IInfoNode> node = Node(c.in);
        const Row before = Fields(node.Get());
        EXPECT_EQ(Edit(node.Get(), [&](HWND dialog) {
                      c.act(dialog);
                      PressButton(dialog, IDOK);
                  }),
                  c.result);
        Row want = before;
        for (const auto& [key, value] : c.changes) want[key] = value;
        EXPECT_EQ(Fields(node.Get()), want);
    }
    EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(ComponentDialogTest, WhatItShows) {
    struct Case {
        const char* note;
        Row in;
        std::string version, patch;
        int type;
        std::string description;
        bool always;
    };
    const Case cases[] = {
        {"no AlwaysSync: checked, version and patch off", {{"Name", "A"}, {"ConfigUrl", "a.xml"}}, "1", "0", -1, "",
         true},
        {"the row's plug-in found whatever its letter case",
         {{"Name", "A"}, {"ProgId", "FELDANE.vorlan"}, {"AlwaysSync", "0"}, {"Version", "1.5"}, {"Patch", "3"}},
         "1.5", "3", 0, kFeldaneDescription, false},
        {"the core's own table", {{"ProgId", "Corvath.Vorlan"}, {"AlwaysSync", "1"}}, "1", "0", 1,
         "Use this component to determine synchronization frequency of subcomponents.", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.note);
        com::ComPtr<IInfoNode> node = Node(c.in);
        Shown shown;
        EXPECT_EQ(Edit(node.Get(), [&](HWND dialog) {
                      shown = Read(dialog);
                      PressButton(dialog, IDCANCEL);
                  }),
                  HRESULT(ERROR_CANCELLED));
        EXPECT_EQ(shown.types, (std::vector<std::string>{"File Management", "Component Management"}));
        EXPECT_EQ(shown.type, c.type);
        EXPECT_EQ(shown.description, c.description);
        EXPECT_EQ(shown.version, c.version);
        EXPECT_EQ(shown.patch, c.patch);
        EXPECT_EQ(shown.always, c.always);
        EXPECT_EQ(shown.versionEnabled, !c.always);
        EXPECT_EQ(shown.patchEnabled, !c.always);
    }
}

// Refused values keep the dialog open with the row unchanged; Cancel then
// answers 1223.
TEST_F(ComponentDialogTest, RefusedValuesAndCancel) {
    const Row row = {{"Name", "Files"}, {"ProgId", "Feldane.Vorlan"}, {"ConfigUrl", "files.xml"},
                     {"Version", "2.0"}, {"Patch", "1"}, {"AlwaysSync", "0"}};
    struct Case {
        const char* note;
        std::function<void(HWND)> act;
        std::string message;
    };
    const Case cases[] = {
        {"version out of range", [](HWND d) { SetItemText(d, IDC_COMPONENT_VERSION, "10000"); },
         "Please enter a number between 0 and 9999."},
        {"version not a number", [](HWND d) { SetItemText(d, IDC_COMPONENT_VERSION, "two"); }, "Please enter a number."},
        {"patch not an integer", [](HWND d) { SetItemText(d, IDC_COMPONENT_PATCH, "1.5"); }, "Please enter an integer."},
        {"empty name", [](HWND d) { SetItemText(d, IDC_COMPONENT_NAME, ""); }, "You must enter a name and URL."},
        {"empty URL", [](HWND d) { SetItemText(d, IDC_COMPONENT_URL, ""); }, "You must enter a name and URL."},
        {"cancelled after changes", [](HWND d) { SetItemText(d, IDC_COMPONENT_NAME, "Changed"); }, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.note);
        boxes_.Clear();
        com::ComPtr<IInfoNode> node = Node(row);
        bool stayed = false;
        EXPECT_EQ(Edit(node.Get(), [&](HWND dialog) {
                      c.act(dialog);
                      if (!c.message.empty()) {
                          SendMessageA(dialog, WM_COMMAND, IDOK, 0);
                          stayed = IsWindowVisible(dialog) != FALSE;
                      }
                      PressButton(dialog, IDCANCEL);
                  }),
                  HRESULT(ERROR_CANCELLED));
        EXPECT_EQ(Fields(node.Get()), Fields(Node(row).Get()));
        const auto boxes = boxes_.Boxes();
        if (c.message.empty()) {
            EXPECT_TRUE(boxes.empty());
            continue;
        }
        EXPECT_TRUE(stayed);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, c.message);
    }
}

// The tips over the fields, and the dialog as a user sees it.
TEST_F(ComponentDialogTest, TipsAndPicture) {
    com::ComPtr<IInfoNode> node = Node({{"Name", "Files"}, {"ProgId", "Feldane.Vorlan"}, {"ConfigUrl", "files.xml"},
                                        {"Version", "1.5"}, {"Patch", "2"}, {"AlwaysSync", "0"}});
    int tools = 0, width = 0, delay = 0;
    std::string nameTip;
    EXPECT_EQ(Edit(node.Get(), [&](HWND dialog) {
                  HWND tips = nullptr;
                  while ((tips = FindWindowExA(nullptr, tips, TOOLTIPS_CLASSA, nullptr)) != nullptr)
                      if (GetWindow(tips, GW_OWNER) == dialog) break;
                  if (tips) {
                      tools = static_cast<int>(SendMessageA(tips, TTM_GETTOOLCOUNT, 0, 0));
                      width = static_cast<int>(SendMessageA(tips, TTM_GETMAXTIPWIDTH, 0, 0));
                      delay = static_cast<int>(SendMessageA(tips, TTM_GETDELAYTIME, TTDT_INITIAL, 0));
                      char text[256] = {};
                      TTTOOLINFOA info = {};
                      info.cbSize = sizeof info;
                      info.hwnd = dialog;
                      info.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(dialog, IDC_COMPONENT_NAME));
                      info.lpszText = text;
                      SendMessageA(tips, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&info));
                      nameTip = text;
                  }
                  Sleep(300);
                  SaveScreenshot(dialog, "core-component-dialog");
                  PressButton(dialog, IDCANCEL);
              }),
              HRESULT(ERROR_CANCELLED));
    EXPECT_EQ(tools, 6);
    EXPECT_EQ(width, 300);
    EXPECT_EQ(delay, 5000);
    EXPECT_EQ(nameTip, "Enter a name to identify this component.");
}

}  // namespace
}  // namespace vorlan::testing
