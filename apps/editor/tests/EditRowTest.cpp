// A row edited in its plug-in's real dialog, driven from a second thread.
#include "BrovikDoc.h"
#include "DocumentFixture.h"

namespace vorlan::editor::testing {
namespace {

constexpr int kNameEdit = 301;
constexpr int kValueEdit = 302;

class EditRowTest : public DocumentSuite {
protected:
    void SetUp() override {
        SetEnvironmentVariableA("VORLAN_RECORDER_DIALOG", "1");
        journal_ = folder_ / "recorder.txt";
        SetEnvironmentVariableA("VORLAN_RECORDER_JOURNAL", journal_.c_str());
        path_ = Put("r.xml", TableText("\t<RecorderSync Name=\"a\" Extra=\"kept\" Value=\"1\"/>\n"
                                       "\t<RecorderSync Name=\"b\" Value=\"2\"/>\n"));
    }
    void TearDown() override {
        SetEnvironmentVariableA("VORLAN_RECORDER_DIALOG", nullptr);
        SetEnvironmentVariableA("VORLAN_RECORDER_JOURNAL", nullptr);
    }
    static void Type(HWND dialog, int id, const char* text) {
        SendMessageA(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    }
    static void Press(HWND dialog, int id) {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    }
    std::string journal_;
    std::string path_;
};

TEST_F(EditRowTest, OkChangesTheRowAndCancelChangesNothing) {
    const struct {
        const char* what;
        int button;
        HRESULT result;
        const char* row0;
    } cases[] = {
        {"OK", IDOK, S_OK, "Name=edited;Value=new;Extra=kept;"},
        {"Cancel", IDCANCEL, ERROR_CANCELLED, "Name=a;Value=1;Extra=kept;"},
    };
    for (const auto& c : cases) {
        auto table = Open(path_);
        std::string shownName;
        DialogDriver driver([&] {
            HWND dialog = WaitForDialog("Recorder item");
            if (!dialog) return;
            shownName = vorlan::testing::WindowText(GetDlgItem(dialog, kNameEdit));
            Type(dialog, kNameEdit, "edited");
            Type(dialog, kValueEdit, "new");
            Press(dialog, c.button);
        });
        EXPECT_EQ(table->EditRow(0), c.result) << c.what;
        driver.Join();
        EXPECT_EQ(shownName, "a") << c.what;
        EXPECT_EQ(RowText(*table, 0), c.row0) << c.what;
        EXPECT_EQ(RowText(*table, 1), "Name=b;Value=2;") << c.what;
    }
    // The dialog got the table's URL to resolve relative paths with.
    const std::string asked = vorlan::testing::ReadFileBytes(journal_);
    EXPECT_EQ(asked, "ConfigNodeDlg " + path_ + "\nConfigNodeDlg " + path_ + "\n");
}

TEST_F(EditRowTest, AnEmptyFieldKeepsTheDialogOpen) {
    // The plug-in's own boxes are answered and journaled in its module.
    const std::string boxes = folder_ / "boxes.txt";
    SetEnvironmentVariableA("VORLAN_MESSAGEBOX_JOURNAL", boxes.c_str());
    auto table = Open(path_);
    bool openAfterEmpty = false;
    DialogDriver driver([&] {
        HWND dialog = WaitForDialog("Recorder item");
        if (!dialog) return;
        Type(dialog, kNameEdit, "");
        Press(dialog, IDOK);
        bool told = false;
        for (int i = 0; i < 250 && !told; ++i) {
            Sleep(20);
            told = GetFileAttributesA(boxes.c_str()) != INVALID_FILE_ATTRIBUTES &&
                   vorlan::testing::ReadFileBytes(boxes).find("Fields cannot be empty.") != std::string::npos;
        }
        openAfterEmpty = told && IsWindow(dialog) && IsWindowVisible(dialog);
        Type(dialog, kNameEdit, "second");
        Press(dialog, IDOK);
    });
    EXPECT_EQ(table->EditRow(1), S_OK);
    driver.Join();
    SetEnvironmentVariableA("VORLAN_MESSAGEBOX_JOURNAL", nullptr);
    EXPECT_TRUE(openAfterEmpty);
    EXPECT_EQ(RowText(*table, 1), "Name=second;Value=2;");
}

TEST_F(EditRowTest, SaveAllWritesTheEdit) {
    CBrovikDoc doc;
    doc.AddPlugin(reinterpret_cast<HTREEITEM>(1), Open(path_));
    DialogDriver driver([&] {
        HWND dialog = WaitForDialog("Recorder item");
        if (!dialog) return;
        Type(dialog, kValueEdit, "saved");
        Press(dialog, IDOK);
    });
    EXPECT_EQ(doc.GetPlugin(reinterpret_cast<HTREEITEM>(1))->EditRow(1), S_OK);
    driver.Join();
    doc.SetProjectModified(TRUE);
    EXPECT_EQ(doc.SaveAllPlugins(), S_OK);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(vorlan::testing::ReadFileBytes(path_),
              TableText("\t<RecorderSync Name=\"a\" Value=\"1\" Extra=\"kept\"/>\n"
                        "\t<RecorderSync Name=\"b\" Value=\"saved\"/>\n"));
}

TEST_F(EditRowTest, NoRowNoDialog) {
    auto table = Open(path_);
    EXPECT_EQ(table->EditRow(2), E_HANDLE);
    EXPECT_EQ(table->EditRow(-1), E_HANDLE);
    EXPECT_EQ(GetFileAttributesA(journal_.c_str()), INVALID_FILE_ATTRIBUTES);  // no dialog asked
}

// The registry plug-in's own dialog, as a user edits a registry row: its
// empty-field check keeps it open, OK rewrites the row, Cancel keeps it.
TEST_F(EditRowTest, TheRegistryPluginsOwnDialogEditsItsRow) {
    constexpr int kKey = 203, kValue = 204;
    const std::string boxes = folder_ / "boxes.txt";
    SetEnvironmentVariableA("VORLAN_MESSAGEBOX_JOURNAL", boxes.c_str());
    const std::string path = Put("reg.xml", TableText("\t<RegSync Key=\"HKLM\\SOFTWARE\\A\\Name\" Value=\"1\" "
                                                      "Type=\"REG_DWORD\" Note=\"kept\"/>\n"));
    auto table = Open(path);
    ASSERT_EQ(table->GetColumnCount(), 3);
    std::string shownKey;
    bool openAfterEmpty = false;
    DialogDriver driver([&] {
        HWND dialog = WaitForDialog("Registry Item Properties");
        if (!dialog) return;
        shownKey = vorlan::testing::WindowText(GetDlgItem(dialog, kKey));
        Type(dialog, kKey, "");
        Press(dialog, IDOK);
        for (int i = 0; i < 250 && !openAfterEmpty; ++i) {
            Sleep(20);
            openAfterEmpty = GetFileAttributesA(boxes.c_str()) != INVALID_FILE_ATTRIBUTES &&
                             vorlan::testing::ReadFileBytes(boxes).find("Fields cannot be empty.") != std::string::npos &&
                             IsWindow(dialog);
        }
        Type(dialog, kKey, "HKLM\\SOFTWARE\\B\\Name");
        Type(dialog, kValue, "2");
        Press(dialog, IDOK);
    });
    EXPECT_EQ(table->EditRow(0), S_OK);
    driver.Join();
    EXPECT_EQ(shownKey, "HKLM\\SOFTWARE\\A\\Name");
    EXPECT_TRUE(openAfterEmpty);
    EXPECT_EQ(RowText(*table, 0), "Key=HKLM\\SOFTWARE\\B\\Name;Value=2;Type=REG_DWORD;Note=kept;");

    DialogDriver cancel([&] {
        HWND dialog = WaitForDialog("Registry Item Properties");
        if (!dialog) return;
        Type(dialog, kKey, "HKLM\\changed");
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(table->EditRow(0), ERROR_CANCELLED);
    cancel.Join();
    EXPECT_EQ(RowText(*table, 0), "Key=HKLM\\SOFTWARE\\B\\Name;Value=2;Type=REG_DWORD;Note=kept;");

    CBrovikDoc doc;
    doc.AddPlugin(reinterpret_cast<HTREEITEM>(1), std::move(table));
    doc.SetProjectModified(TRUE);
    EXPECT_EQ(doc.SaveAllPlugins(), S_OK);
    EXPECT_EQ(vorlan::testing::ReadFileBytes(path),
              TableText("\t<RegSync Key=\"HKLM\\SOFTWARE\\B\\Name\" Value=\"2\" Type=\"REG_DWORD\" Note=\"kept\"/>\n"));
    SetEnvironmentVariableA("VORLAN_MESSAGEBOX_JOURNAL", nullptr);
}

// A component row edited in the core's component dialog and saved back.
TEST_F(EditRowTest, AComponentRowIsEditedInTheCoresDialogAndSaved) {
    constexpr int kName = 1005;
    const std::string path = Put("top.xml", TableText("\t<PlugInsCfg ProgId=\"Feldane.Vorlan\" ConfigUrl=\"files.xml\" "
                                                      "Name=\"Files\" Version=\"1.2.3\" Patch=\"0\" AlwaysSync=\"0\"/>\n"));
    auto table = Open(path);
    ASSERT_TRUE(table->IsComponentTable());
    ASSERT_EQ(table->GetRowCount(), 1);
    std::string shownName;
    DialogDriver driver([&] {
        HWND dialog = WaitForDialog("Component Management");
        if (!dialog) return;
        shownName = vorlan::testing::WindowText(GetDlgItem(dialog, kName));
        Type(dialog, kName, "Renamed files");
        Press(dialog, IDOK);
    });
    EXPECT_EQ(table->EditRow(0), S_OK);
    driver.Join();
    EXPECT_EQ(shownName, "Files");

    CBrovikDoc doc;
    doc.AddPlugin(reinterpret_cast<HTREEITEM>(1), std::move(table));
    doc.SetProjectModified(TRUE);
    EXPECT_EQ(doc.SaveAllPlugins(), S_OK);
    const std::string saved = vorlan::testing::ReadFileBytes(path);
    for (const char* attribute : {"ProgId=\"Feldane.Vorlan\"", "ConfigUrl=\"files.xml\"", "Name=\"Renamed files\"",
                                  "Version=\"1.2.3\"" /* untouched, so written back as read */, "Patch=\"0\""})
        EXPECT_NE(saved.find(attribute), std::string::npos) << attribute << " in " << saved;
}

}  // namespace
}  // namespace vorlan::editor::testing
