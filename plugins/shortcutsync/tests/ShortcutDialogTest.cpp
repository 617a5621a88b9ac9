// The shortcut item's dialog through IVorlanProperties::ConfigNodeDlg,
// driven by messages from a thread of the test while its modal loop runs,
// with the device browses against the emulated device; pictures on a
// virtual screen.
#include <gtest/gtest.h>

#include "Bstr.h"
#include "BrowseDriver.h"
#include "ComPtr.h"
#include "DevicePluginSuite.h"
#include "Resource.h"
#include "SharedFile.h"
#include "WindowCapture.h"
#include "pindrel.h"
#include "vorlan.h"

namespace vorlan::shortcutsync::testing {
namespace {

using com::Bstr;
using com::ComPtr;
using namespace vorlan::testing;

constexpr char kCaption[] = "Shortcut Management";

struct Fields {
    std::string name, destination, target;
    bool operator==(const Fields&) const = default;
};

Fields Read(HWND dialog) {
    return {ItemText(dialog, IDC_DISPLAY_NAME), ItemText(dialog, IDC_DESTINATION), ItemText(dialog, IDC_TARGET)};
}

class ShortcutDialogTest : public DevicePluginSuite {
protected:
    void SetUp() override {
        DevicePluginSuite::SetUp();
        SetEnvironmentVariableA("VORLAN_MESSAGEBOX_ANSWER", "default");
        SetEnvironmentVariableA("VORLAN_MESSAGEBOX_JOURNAL", boxes_.c_str());
        CLSID clsid = {};
        ASSERT_EQ(CLSIDFromProgID(L"Quorran.VorlanProperties", &clsid), S_OK);
        ASSERT_EQ(com::CreateInstance(clsid, properties_), S_OK);
    }
    void TearDown() override { SetEnvironmentVariableA("VORLAN_MESSAGEBOX_JOURNAL", nullptr); }

    static ComPtr<IInfoNode> Node(const Fields& f) {
        ComPtr<IInfoNode> node;
        EXPECT_EQ(com::CreateInstance(CLSID_InfoNode, node), S_OK);
        node->SetAt(Bstr::FromAnsi("DisplayName").Get(), Bstr::FromAnsi(f.name).Get());
        node->SetAt(Bstr::FromAnsi("Destination").Get(), Bstr::FromAnsi(f.destination).Get());
        node->SetAt(Bstr::FromAnsi("Target").Get(), Bstr::FromAnsi(f.target).Get());
        return node;
    }
    static Fields Stored(IInfoNode* node) {
        Fields f;
        for (auto [name, field] : {std::pair{"DisplayName", &f.name}, std::pair{"Destination", &f.destination},
                                   std::pair{"Target", &f.target}}) {
            Bstr value;
            node->GetProperty(Bstr::FromAnsi(name).Get(), value.Put());
            *field = value.Ansi();
        }
        return f;
    }
    HRESULT Run(ComPtr<IInfoNode>& node, std::function<void(HWND)> steps) {
        BrowseDriver driver(kCaption, std::move(steps));
        IInfoNode* raw = node.Get();
        const HRESULT hr = properties_->ConfigNodeDlg(&raw, VARIANT_FALSE);
        EXPECT_TRUE(driver.SawDialog()) << "the dialog never showed";
        return hr;
    }
    std::vector<std::string> Boxes() const {
        std::vector<std::string> texts;
        for (const auto& line : ReadJournal(boxes_))
            if (line.size() > 2) texts.push_back(line[1] + ": " + line[2]);
        return texts;
    }

    TempFolder folder_;
    std::string boxes_ = folder_ / "boxes.txt";
    ComPtr<IVorlanProperties> properties_;
};

const Fields kStored = {"Notes", "%CE_STARTMENU%", "\\Windows\\sleeper.exe"};

TEST_F(ShortcutDialogTest, AnItemOpensAsStoredAndOkWritesItBack) {
    auto node = Node(kStored);
    Fields opened;
    std::string picture;
    const HRESULT hr = Run(node, [&](HWND dialog) {
        opened = Read(dialog);
        picture = SaveScreenshot(dialog, "quorran-item-dialog");
        SetDlgItemTextA(dialog, IDC_DISPLAY_NAME, "Sleeper");
        Click(dialog, IDOK);
    });
    EXPECT_EQ(hr, S_OK);
    EXPECT_EQ(opened, kStored);
    EXPECT_EQ(Stored(node.Get()), (Fields{"Sleeper", "%CE_STARTMENU%", "\\Windows\\sleeper.exe"}));
    EXPECT_EQ(picture.find("failed"), std::string::npos) << picture;
}

TEST_F(ShortcutDialogTest, BrowsesReplaceAFieldOnOkAndLeaveItOnCancel) {
    const struct {
        const char* name;
        int button;
        const char* title;
        int press;
        Fields want;
    } cases[] = {
        {"folder chosen", IDC_BROWSE_DESTINATION, "Choose a Folder...", IDOK,
         {"Notes", "%CE_WINDIR%", "\\Windows\\sleeper.exe"}},
        {"folder cancelled", IDC_BROWSE_DESTINATION, "Choose a Folder...", IDCANCEL, kStored},
        {"file chosen", IDC_BROWSE_TARGET, "Browse...", IDOK, {"Notes", "%CE_STARTMENU%", "%CE_WINDIR%\\devwin.exe"}},
        {"file cancelled", IDC_BROWSE_TARGET, "Browse...", IDCANCEL, kStored},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto node = Node(kStored);
        Fields after;
        bool browsed = false;
        EXPECT_EQ(Run(node,
                      [&](HWND dialog) {
                          PostClick(dialog, c.button);
                          HWND browse = WaitForDialog(c.title);
                          ASSERT_NE(browse, nullptr);
                          browsed = true;
                          if (c.press == IDOK && c.button == IDC_BROWSE_DESTINATION) {
                              SetDlgItemTextA(browse, 1001, "\\Windows");
                          } else if (c.press == IDOK) {
                              HWND list = GetDlgItem(browse, 1001);
                              for (const char* name : {"Windows", "devwin.exe"}) {
                                  ASSERT_TRUE(WaitUntil([&] { return FindRow(list, name) >= 0; })) << name;
                                  SelectRow(list, FindRow(list, name));
                                  DoubleClickRow(list, FindRow(list, name));
                              }
                          }
                          if (IsWindow(browse)) PostClick(browse, c.press);
                          WaitUntil([&] { return !IsWindow(browse); });
                          after = Read(dialog);
                          Click(dialog, IDOK);
                      }),
                  S_OK);
        EXPECT_TRUE(browsed);
        EXPECT_EQ(after, c.want);
        EXPECT_EQ(Stored(node.Get()), c.want);
    }
}

TEST_F(ShortcutDialogTest, EmptyFieldsAreRefusedAndCancelKeepsTheItem) {
    const int fields[] = {IDC_DISPLAY_NAME, IDC_DESTINATION, IDC_TARGET};
    for (int field : fields) {
        auto node = Node(kStored);
        bool openAfterOk = false;
        std::vector<std::string> boxesAfterOk;
        std::string picture;
        const size_t boxesBefore = Boxes().size();
        const HRESULT hr = Run(node, [&](HWND dialog) {
            SetDlgItemTextA(dialog, field, "");
            Click(dialog, IDOK);
            openAfterOk = IsWindow(dialog) && IsWindowVisible(dialog);
            boxesAfterOk = Boxes();
            if (field == IDC_TARGET) picture = SaveScreenshot(dialog, "quorran-item-dialog-empty");
            SetDlgItemTextA(dialog, IDC_DISPLAY_NAME, "Changed");
            Click(dialog, IDCANCEL);
        });
        EXPECT_TRUE(openAfterOk) << field;
        ASSERT_EQ(boxesAfterOk.size(), boxesBefore + 1) << field;
        EXPECT_EQ(boxesAfterOk.back(), "Quorran: Fields cannot be empty.");
        EXPECT_EQ(hr, 1223);
        EXPECT_EQ(Stored(node.Get()), kStored);
        EXPECT_EQ(picture.find("failed"), std::string::npos) << picture;
    }
}

// On a display for pictures the refusal is the real box, pictured and closed.
TEST_F(ShortcutDialogTest, TheRefusalBoxIsPictured) {
    char folder[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("VORLAN_SCREENSHOT_DIR", folder, sizeof folder)) GTEST_SKIP() << "no display";
    auto node = Node(kStored);
    std::string picture;
    Run(node, [&](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_TARGET, "");
        picture = PictureRefusalBox(dialog, "Quorran", "quorran-fields-cannot-be-empty");
        Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(picture.find("failed"), std::string::npos) << picture;
}

}  // namespace
}  // namespace vorlan::shortcutsync::testing
