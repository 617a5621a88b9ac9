// Tables written back, checked on the file's text, and the project saved.
#include <algorithm>

#include "Bstr.h"
#include "BrovikDoc.h"
#include "ComPtr.h"
#include "DocumentFixture.h"
#include "LoopbackHttpServer.h"

namespace vorlan::editor::testing {
namespace {

const char kCannotSave[] =
    "Vorlan Explorer was not able to Save %1.\nMake sure you have rights to save this file and that it's not "
    "write-protected.";
const char kAskToSave[] = "The project has changed.\n\nDo you want to save the changes?";

std::string CannotSave(const std::string& url) {
    std::string text = kCannotSave;
    return text.replace(text.find("%1"), 2, url);
}

HTREEITEM Item(std::uintptr_t n) { return reinterpret_cast<HTREEITEM>(n); }

class SaveTest : public DocumentSuite {
protected:
    std::string ReadOnly(const std::string& name, const std::string& text) {
        const std::string path = Put(name, text);
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
        readOnly_.push_back(path);
        return path;
    }
    void TearDown() override {
        for (const auto& path : readOnly_) SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    // The row's Value changed, as an edit in its dialog would.
    static void SetValue(CVorlanPlugin& table, int row, const char* value) {
        com::ComPtr<IInfoNode> node;
        ASSERT_EQ(table.GetRowNode(row, node.Put()), S_OK);
        node->SetAt(com::Bstr(L"Value").Get(), com::Bstr::FromAnsi(value).Get());
        ASSERT_EQ(table.ReplaceRow(row, node.Get()), S_OK);
    }
    std::vector<std::string> readOnly_;
};

TEST_F(SaveTest, FileTextKeepsOrderCommentsAndUnlistedFields) {
    const std::string source = Put(
        "r.xml", TableText("\t<RecorderSync Extra=\"e\" Value=\"v\" Name=\"n\" Other=\"o\"/>\n"
                           "\t<RecorderSync Name=\"\" Value=\"\"/>\n"
                           "\t<RecorderSync Value=\"\" Name=\"only\"/>\n",
                           "<!-- kept outside root -->\n"));
    auto table = Open(source);
    const std::string copy = folder_ / "copy.xml";
    ASSERT_EQ(table->SaveXml(copy.c_str()), S_OK);
    // Listed columns in column order, then the others in the row's order;
    // empty values left out, and a row holding none left out too.
    EXPECT_EQ(vorlan::testing::ReadFileBytes(copy),
              TableText("\t<RecorderSync Name=\"n\" Value=\"v\" Extra=\"e\" Other=\"o\"/>\n"
                        "\t<RecorderSync Name=\"only\"/>\n",
                        "<!-- kept outside root -->\n"));
    // Without a path, to its own file.
    ASSERT_EQ(table->SaveXml(nullptr), S_OK);
    EXPECT_EQ(vorlan::testing::ReadFileBytes(source), vorlan::testing::ReadFileBytes(copy));
}

TEST_F(SaveTest, WhatCannotBeWrittenIsNotTouched) {
    vorlan::testing::LoopbackHttpServer server;
    server.Serve("/t.xml", TableText("\t<RecorderSync Name=\"web\"/>\n"));
    const std::string unlistedText = TableText("\t<MysterySync A=\"1\"/>\n");
    const std::string unlisted = Put("u.xml", unlistedText);
    const std::string noRowsText = TableText("");
    const std::string noRows = Put("none.xml", noRowsText);
    const std::string malformedText = TableText("\t<RecorderSync Name=\"a\"\n");
    const std::string malformed = Put("bad.xml", malformedText);
    const struct {
        const char* what;
        std::string url;
        HRESULT opened;
        std::string file;  // what the local file must still hold
    } cases[] = {
        {"HTTP table", server.Url("/t.xml"), S_OK, ""},
        {"unlisted kind", unlisted, S_FALSE, unlistedText},
        {"no rows", noRows, S_FALSE, noRowsText},
        {"malformed", malformed, S_FALSE, malformedText},
        {"missing", folder_ / "missing.xml", S_FALSE, ""},
    };
    for (const auto& c : cases) {
        auto table = Open(c.url, c.opened);
        const int requests = server.RequestCount();
        EXPECT_EQ(table->SaveXml(nullptr), E_FAIL) << c.what;
        const std::string copy = folder_ / "copy.xml";
        EXPECT_EQ(table->SaveXml(copy.c_str()), c.opened == S_OK ? S_OK : E_FAIL) << c.what;
        DeleteFileA(copy.c_str());
        EXPECT_EQ(server.RequestCount(), requests + (c.opened == S_OK ? 1 : 0)) << c.what;  // read, never sent
        if (c.url.rfind("http", 0) == 0) continue;
        if (c.file.empty()) {
            EXPECT_EQ(GetFileAttributesA(c.url.c_str()), INVALID_FILE_ATTRIBUTES) << c.what;
        } else {
            EXPECT_EQ(vorlan::testing::ReadFileBytes(c.url), c.file) << c.what;
        }
    }
}

TEST_F(SaveTest, SaveAllReportsEachFailureAndWritesTheOthers) {
    RecordedBoxes boxes;
    vorlan::testing::LoopbackHttpServer server;
    server.Serve("/t.xml", TableText("\t<RecorderSync Name=\"web\"/>\n"));
    const std::string lockedText = TableText("\t<RecorderSync Name=\"locked\"/>\n");
    const std::string locked = ReadOnly("locked.xml", lockedText);
    const std::string open = Put("open.xml", TableText("\t<RecorderSync Name=\"open\"/>\n"));
    const std::string unknownText = TableText("\t<MysterySync A=\"1\"/>\n");
    const std::string unknown = Put("unknown.xml", unknownText);
    CBrovikDoc doc;
    doc.AddPlugin(Item(1), Open(locked));
    doc.AddPlugin(Item(2), Open(open));
    doc.AddPlugin(Item(3), Open(server.Url("/t.xml")));
    doc.AddPlugin(Item(4), Open(unknown, S_FALSE));
    for (std::uintptr_t item : {1, 2}) SetValue(*doc.GetPlugin(Item(item)), 0, "changed");
    doc.SetProjectModified(TRUE);

    EXPECT_EQ(doc.SaveAllPlugins(), E_FAIL);
    auto asked = boxes.Taken();
    std::vector<std::string> texts;
    for (const auto& box : asked) {
        texts.push_back(box.text);
        EXPECT_EQ(box.caption, "Vorlan Explorer");
        EXPECT_EQ(box.type, static_cast<UINT>(MB_OK | MB_ICONERROR));
        EXPECT_EQ(box.owner, nullptr);
    }
    std::sort(texts.begin(), texts.end());
    std::vector<std::string> expected = {CannotSave(locked), CannotSave(server.Url("/t.xml"))};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(texts, expected);
    EXPECT_EQ(vorlan::testing::ReadFileBytes(locked), lockedText);
    EXPECT_EQ(vorlan::testing::ReadFileBytes(unknown), unknownText);
    EXPECT_EQ(vorlan::testing::ReadFileBytes(open),
              TableText("\t<RecorderSync Name=\"open\" Value=\"changed\"/>\n"));
    // The write-protected table's edits are still unsaved.
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(SaveTest, SaveModifiedAsksOnlyWhenModified) {
    vorlan::testing::LoopbackHttpServer server;
    server.Serve("/t.xml", TableText("\t<RecorderSync Name=\"web\"/>\n"));
    const struct {
        const char* what;
        BOOL modified;
        int answer;
        const char* table;  // "local", "locked", "http"
        BOOL goOn;
        bool asked;
        bool written;
        BOOL stillModified;
    } cases[] = {
        {"unchanged", FALSE, IDYES, "local", TRUE, false, false, FALSE},
        {"No", TRUE, IDNO, "local", TRUE, true, false, TRUE},
        {"Yes", TRUE, IDYES, "local", TRUE, true, true, FALSE},
        {"Yes, write-protected", TRUE, IDYES, "locked", FALSE, true, false, TRUE},
        {"Yes, over HTTP", TRUE, IDYES, "http", TRUE, true, false, FALSE},
    };
    int n = 0;
    for (const auto& c : cases) {
        RecordedBoxes boxes(c.answer);
        const std::string text = TableText("\t<RecorderSync Name=\"a\"/>\n");
        const std::string name = "t" + std::to_string(n++) + ".xml";
        const std::string table = std::string(c.table) == "http" ? server.Url("/t.xml")
                                  : std::string(c.table) == "locked" ? ReadOnly(name, text)
                                                                     : Put(name, text);
        CBrovikDoc doc;
        doc.AddPlugin(Item(7), Open(table));
        SetValue(*doc.GetPlugin(Item(7)), 0, "changed");
        doc.SetProjectModified(c.modified);

        EXPECT_EQ(doc.SaveModified(), c.goOn) << c.what;
        auto asked = boxes.Taken();
        ASSERT_FALSE(asked.empty() && c.asked) << c.what;
        if (c.asked) {
            EXPECT_EQ(asked[0].text, kAskToSave) << c.what;
            EXPECT_EQ(asked[0].caption, "Vorlan Explorer") << c.what;
            EXPECT_EQ(asked[0].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION)) << c.what;
        } else {
            EXPECT_TRUE(asked.empty()) << c.what;
        }
        if (std::string(c.table) != "http") {
            const bool changed = vorlan::testing::ReadFileBytes(table).find("changed") != std::string::npos;
            EXPECT_EQ(changed, c.written) << c.what;
        }
        EXPECT_EQ(doc.IsModified(), c.stillModified) << c.what;
    }
}

}  // namespace
}  // namespace vorlan::editor::testing
