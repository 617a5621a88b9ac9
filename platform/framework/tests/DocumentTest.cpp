#include <gtest/gtest.h>

#include <vector>

#include "Document.h"
#include "MessageBox.h"

namespace vorlan {
namespace {

class CountingDocument : public CDocument {
public:
    int cleared = 0;
    int saved = 0;
    BOOL saveSucceeds = TRUE;

protected:
    void DeleteContents() override { ++cleared; }
    BOOL OnSaveDocument() override {
        ++saved;
        return saveSucceeds;
    }
};

TEST(DocumentTest, NewDocumentClearsContentAndFlag) {
    CountingDocument doc;
    EXPECT_FALSE(doc.IsModified());
    doc.SetModifiedFlag();
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(doc.cleared, 1);
    EXPECT_FALSE(doc.IsModified());
    doc.SetTitle("file:///C:/p/top.xml");
    EXPECT_EQ(doc.GetTitle(), "file:///C:/p/top.xml");
}

TEST(DocumentTest, SaveModifiedAsksOnlyWhenModified) {
    const struct {
        BOOL modified;
        int answer;
        BOOL saveSucceeds;
        BOOL goOn;
        int saves;
        size_t asked;
    } cases[] = {
        {FALSE, IDYES, TRUE, TRUE, 0, 0},  {TRUE, IDYES, TRUE, TRUE, 1, 1},
        {TRUE, IDYES, FALSE, FALSE, 1, 1}, {TRUE, IDNO, TRUE, TRUE, 0, 1},
        {TRUE, IDCANCEL, TRUE, FALSE, 0, 1},
    };
    for (const auto& c : cases) {
        std::vector<MessageBoxRequest> asked;
        ScopedMessageBoxAnswerer answerer([&](const MessageBoxRequest& r) {
            asked.push_back(r);
            return c.answer;
        });
        CountingDocument doc;
        doc.SetTitle("Project");
        doc.saveSucceeds = c.saveSucceeds;
        doc.SetModifiedFlag(c.modified);
        EXPECT_EQ(doc.SaveModified(), c.goOn) << c.modified << " " << c.answer;
        EXPECT_EQ(doc.saved, c.saves) << c.answer;
        ASSERT_EQ(asked.size(), c.asked);
        if (!asked.empty()) {
            EXPECT_EQ(asked[0].text, "Save changes to Project?");
            EXPECT_EQ(asked[0].type & MB_TYPEMASK, static_cast<UINT>(MB_YESNOCANCEL));
        }
    }
}

}  // namespace
}  // namespace vorlan
