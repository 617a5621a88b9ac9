// The item dialog through IVorlanProperties::ConfigNodeDlg, driven by
// messages from inside its own modal loop (a thread timer of the test),
// its state read back from its controls; pictures on a virtual screen.
#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "Bstr.h"
#include "ComPtr.h"
#include "Resource.h"
#include "SharedFile.h"
#include "TestSupport.h"
#include "WindowCapture.h"
#include "pindrel.h"
#include "vorlan.h"

namespace vorlan::regsync::testing {
namespace {

using com::Bstr;
using com::ComPtr;
using vorlan::testing::WindowText;

constexpr char kCaption[] = "Registry Item Properties";

// Runs steps once on the dialog, as soon as it shows, on its own thread.
class DialogDriver {
public:
    explicit DialogDriver(std::function<void(HWND)> steps) : steps_(std::move(steps)) {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 20, &Tick);
    }
    ~DialogDriver() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    bool Ran() const { return ran_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        DialogDriver* self = current_;
        if (!self || self->ran_) return;
        HWND dialog = FindWindowA("#32770", kCaption);
        if (!dialog) return;
        self->ran_ = true;
        self->steps_(dialog);
    }

    std::function<void(HWND)> steps_;
    UINT_PTR timer_ = 0;
    bool ran_ = false;
    static inline DialogDriver* current_ = nullptr;
};

struct Shown {
    std::string key, value, type, help;
    int local = -1;
    bool valueEnabled = false;
    bool operator==(const Shown&) const = default;
};

Shown Read(HWND dialog) {
    Shown s;
    s.key = WindowText(GetDlgItem(dialog, IDC_KEY));
    s.value = WindowText(GetDlgItem(dialog, IDC_VALUE));
    s.type = WindowText(GetDlgItem(dialog, IDC_TYPE));
    s.help = WindowText(GetDlgItem(dialog, IDC_DESCRIPTION));
    s.local = static_cast<int>(SendMessageA(GetDlgItem(dialog, IDC_LOCAL), BM_GETCHECK, 0, 0));
    s.valueEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_VALUE));
    return s;
}

// Picks an entry of the type list as a user does: the list tells its parent.
void ChooseType(HWND dialog, int index) {
    HWND list = GetDlgItem(dialog, IDC_TYPE);
    SendMessageA(list, CB_SETCURSEL, index, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_TYPE, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

class ItemDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetEnvironmentVariableA("VORLAN_MESSAGEBOX_ANSWER", "default");
        SetEnvironmentVariableA("VORLAN_MESSAGEBOX_JOURNAL", boxes_.c_str());
        CLSID clsid = {};
        ASSERT_EQ(CLSIDFromProgID(L"Tolvane.VorlanProperties", &clsid), S_OK);
        ASSERT_EQ(com::CreateInstance(clsid, properties_), S_OK);
    }
    void TearDown() override { SetEnvironmentVariableA("VORLAN_MESSAGEBOX_JOURNAL", nullptr); }

    ComPtr<IInfoNode> Node(const char* key, const char* value, const char* type) {
        ComPtr<IInfoNode> node;
        EXPECT_EQ(com::CreateInstance(CLSID_InfoNode, node), S_OK);
        if (key) node->SetAt(Bstr::FromAnsi("Key").Get(), Bstr::FromAnsi(key).Get());
        if (value) node->SetAt(Bstr::FromAnsi("Value").Get(), Bstr::FromAnsi(value).Get());
        if (type) node->SetAt(Bstr::FromAnsi("Type").Get(), Bstr::FromAnsi(type).Get());
        return node;
    }
    static std::string Field(IInfoNode* node, const char* name) {
        Bstr value;
        node->GetProperty(Bstr::FromAnsi(name).Get(), value.Put());
        return value.Ansi();
    }
    HRESULT Run(ComPtr<IInfoNode>& node, std::function<void(HWND)> steps, VARIANT_BOOL isNew = VARIANT_FALSE) {
        DialogDriver driver(std::move(steps));
        IInfoNode* raw = node.Get();
        const HRESULT hr = properties_->ConfigNodeDlg(&raw, isNew);
        EXPECT_TRUE(driver.Ran()) << "the dialog never showed";
        EXPECT_EQ(raw, node.Get());
        return hr;
    }
    // The texts of the message boxes shown so far.
    std::vector<std::string> Boxes() const {
        std::vector<std::string> texts;
        for (const auto& line : ReadJournal(boxes_))
            if (line.size() > 2) texts.push_back(line[1] + ": " + line[2]);
        return texts;
    }

    vorlan::testing::ComScope com_;
    vorlan::testing::TempFolder folder_;
    std::string boxes_ = folder_ / "boxes.txt";
    ComPtr<IVorlanProperties> properties_;
};

TEST_F(ItemDialogTest, ANewItemIsFilledAndConfirmed) {
    auto node = Node(nullptr, nullptr, nullptr);
    Shown opened;
    std::string picture;
    const HRESULT hr = Run(
        node,
        [&](HWND dialog) {
            opened = Read(dialog);
            ChooseType(dialog, 1);
            SetDlgItemTextA(dialog, IDC_KEY, "HKEY_LOCAL_MACHINE\\Software\\Vorlan demo\\Interval");
            SetDlgItemTextA(dialog, IDC_VALUE, "30");
            picture = vorlan::testing::SaveScreenshot(dialog, "tolvane-item-dialog");
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        },
        VARIANT_TRUE);
    EXPECT_EQ(hr, S_OK);
    EXPECT_EQ(opened, (Shown{"", "", "REG_SZ", "A string.", BST_UNCHECKED, true}));
    EXPECT_EQ(Field(node.Get(), "Key"), "HKEY_LOCAL_MACHINE\\Software\\Vorlan demo\\Interval");
    EXPECT_EQ(Field(node.Get(), "Value"), "30");
    EXPECT_EQ(Field(node.Get(), "Type"), "REG_DWORD");
    EXPECT_EQ(picture.find("failed"), std::string::npos) << picture;
}

TEST_F(ItemDialogTest, AnItemOpensAsStoredAndIsRewrittenAsChosen) {
    const struct {
        const char* type;
        Shown opened;
        int choose;  // -1 keeps the operation
        int local;
        const char* wantType;
        const char* wantValue;
    } cases[] = {
        {"LOCAL_REG_BINARY",
         {"HKEY_CURRENT_USER\\A\\B", "01, 02",  "REG_BINARY",
          "Binary data. Enter the values in hexadecimal separated by commas. Ex: 00, AB, F1", BST_CHECKED, true},
         5, BST_CHECKED, "QV_LOCAL_REG_DELETE_VALUE", ""},
        {"REG_DWORD",
         {"HKEY_CURRENT_USER\\A\\B", "01, 02", "REG_DWORD", "A 32-bit number.", BST_UNCHECKED, true},
         4, BST_UNCHECKED, "QV_REG_DELETE_KEY", ""},
        {"QV_REG_DELETE_KEY",
         {"HKEY_CURRENT_USER\\A\\B", "01, 02", "QV_REG_DELETE_KEY", "Deletes the speficied key and subkeys.",
          BST_UNCHECKED, false},
         3, BST_CHECKED, "LOCAL_REG_EXPAND_SZ", "01, 02"},
        {"QV_LOCAL_REG_DELETE_VALUE",
         {"HKEY_CURRENT_USER\\A\\B", "01, 02", "QV_REG_DELETE_VALUE",
          "Deletes the specified value (string, dword, binary...).", BST_CHECKED, false},
         -1, BST_UNCHECKED, "QV_REG_DELETE_VALUE", ""},
        {"REG_SZZ",
         {"HKEY_CURRENT_USER\\A\\B", "01, 02", "REG_SZ", "A string.", BST_UNCHECKED, true},
         -1, BST_UNCHECKED, "REG_SZ", "01, 02"},
        {"LOCAL_REG_MULTI_SZ",
         {"HKEY_CURRENT_USER\\A\\B", "01, 02", "REG_MULTI_SZ",
          "Several strings. Separate them with a vertical bar. Ex: one|two|three", BST_CHECKED, true},
         -1, BST_CHECKED, "LOCAL_REG_MULTI_SZ", "01, 02"},
    };
    for (const auto& c : cases) {
        auto node = Node("HKEY_CURRENT_USER\\A\\B", "01, 02", c.type);
        Shown opened;
        const HRESULT hr = Run(node, [&](HWND dialog) {
            opened = Read(dialog);
            if (c.choose >= 0) ChooseType(dialog, c.choose);
            SendMessageA(GetDlgItem(dialog, IDC_LOCAL), BM_SETCHECK, c.local, 0);
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        });
        EXPECT_EQ(hr, S_OK) << c.type;
        EXPECT_EQ(opened, c.opened) << c.type << ": " << opened.type << " / " << opened.help;
        EXPECT_EQ(Field(node.Get(), "Type"), c.wantType) << c.type;
        EXPECT_EQ(Field(node.Get(), "Value"), c.wantValue) << c.type;
        EXPECT_EQ(Field(node.Get(), "Key"), "HKEY_CURRENT_USER\\A\\B") << c.type;
    }
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(ItemDialogTest, TheTypeListTurnsTheValueOffForDeletions) {
    auto node = Node("HKEY_CURRENT_USER\\A\\B", "v", "REG_SZ");
    std::vector<std::pair<bool, std::string>> seen;
    std::vector<std::string> entries;
    Run(node, [&](HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_TYPE);
        for (int i = 0; i < SendMessageA(list, CB_GETCOUNT, 0, 0); ++i) {
            char text[64] = {};
            SendMessageA(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            entries.push_back(text);
            ChooseType(dialog, i);
            seen.push_back({IsWindowEnabled(GetDlgItem(dialog, IDC_VALUE)) != 0, Read(dialog).help.substr(0, 12)});
        }
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(entries, (std::vector<std::string>{"REG_BINARY", "REG_DWORD", "REG_SZ", "REG_EXPAND_SZ",
                                                 "QV_REG_DELETE_KEY", "QV_REG_DELETE_VALUE", "REG_MULTI_SZ"}));
    EXPECT_EQ(seen, (std::vector<std::pair<bool, std::string>>{{true, "Binary data."},
                                                               {true, "A 32-bit num"},
                                                               {true, "A string."},
                                                               {true, "Usually a wo"},
                                                               {false, "Deletes the "},
                                                               {false, "Deletes the "},
                                                               {true, "Several stri"}}));
}

TEST_F(ItemDialogTest, CancelReturns1223AndKeepsTheItem) {
    auto node = Node("HKEY_CURRENT_USER\\A\\B", "v", "LOCAL_REG_DWORD");
    const HRESULT hr = Run(node, [](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_KEY, "HKEY_CURRENT_USER\\Other\\C");
        ChooseType(dialog, 4);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(hr, 1223);
    EXPECT_EQ(Field(node.Get(), "Key"), "HKEY_CURRENT_USER\\A\\B");
    EXPECT_EQ(Field(node.Get(), "Value"), "v");
    EXPECT_EQ(Field(node.Get(), "Type"), "LOCAL_REG_DWORD");
}

// With a display for pictures the box is the real one: a thread pictures
// it and presses its button.
std::thread PictureTheBox(const char* caption, const std::string& name, std::string& picture) {
    char folder[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("VORLAN_SCREENSHOT_DIR", folder, sizeof folder)) return {};
    SetEnvironmentVariableA("VORLAN_MESSAGEBOX_ANSWER", nullptr);
    return std::thread([caption, name, &picture] {
        for (int tries = 0; tries < 500; ++tries, Sleep(20)) {
            HWND box = FindWindowExA(nullptr, nullptr, "#32770", caption);
            if (!box || !IsWindowVisible(box)) continue;
            picture = vorlan::testing::SaveScreenshot(box, name);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            return;
        }
        picture = "failed: no box";
    });
}

TEST_F(ItemDialogTest, AnEmptyKeyIsRefusedAndTheDialogStaysOpen) {
    auto node = Node("HKEY_CURRENT_USER\\A\\B", "", "REG_SZ");
    std::string boxPicture;
    std::thread boxShot = PictureTheBox("Tolvane", "tolvane-fields-cannot-be-empty", boxPicture);
    bool openAfterOk = false;
    std::vector<std::string> boxesAfterOk;
    std::string picture;
    const HRESULT hr = Run(node, [&](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_KEY, "");
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
        openAfterOk = IsWindow(dialog) && IsWindowVisible(dialog);
        boxesAfterOk = Boxes();
        picture = vorlan::testing::SaveScreenshot(dialog, "tolvane-item-dialog-empty-key");
        // An empty value is allowed.
        SetDlgItemTextA(dialog, IDC_KEY, "HKEY_CURRENT_USER\\A\\C");
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    if (boxShot.joinable()) boxShot.join();
    EXPECT_EQ(boxPicture.find("failed"), std::string::npos) << boxPicture;
    EXPECT_TRUE(openAfterOk);
    EXPECT_EQ(boxesAfterOk, (std::vector<std::string>{"Tolvane: Fields cannot be empty."}));
    EXPECT_EQ(hr, S_OK);
    EXPECT_EQ(Field(node.Get(), "Key"), "HKEY_CURRENT_USER\\A\\C");
    EXPECT_EQ(Field(node.Get(), "Value"), "");
    EXPECT_EQ(picture.find("failed"), std::string::npos) << picture;
}

TEST_F(ItemDialogTest, NoNodeIsRefused) {
    EXPECT_EQ(properties_->ConfigNodeDlg(nullptr, VARIANT_TRUE), E_POINTER);
    IInfoNode* none = nullptr;
    EXPECT_EQ(properties_->ConfigNodeDlg(&none, VARIANT_TRUE), E_POINTER);
}

}  // namespace
}  // namespace vorlan::regsync::testing
