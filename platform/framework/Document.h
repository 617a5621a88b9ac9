#pragma once
// CDocument: what a program's document holds beside its data: a title and a
// modified flag, and the question asked before its content is dropped. No
// frames or views are tied to it yet.
#include <string>

#include <windows.h>

namespace vorlan {

class CDocument {
public:
    CDocument() = default;
    virtual ~CDocument() = default;
    CDocument(const CDocument&) = delete;
    CDocument& operator=(const CDocument&) = delete;

    const std::string& GetTitle() const { return title_; }
    virtual void SetTitle(const std::string& title) { title_ = title; }

    virtual BOOL IsModified() { return modified_; }
    virtual void SetModifiedFlag(BOOL modified = TRUE) { modified_ = modified; }

    // A new, empty document: the content is dropped and the flag cleared.
    virtual BOOL OnNewDocument();
    // Asked before the content goes (closing, opening another): TRUE lets
    // the caller go on. When modified, the user is asked whether to save
    // (Yes, No, Cancel, captioned with the title); Yes saves with
    // OnSaveDocument, and the caller goes on only when that succeeded.
    virtual BOOL SaveModified();

protected:
    virtual void DeleteContents() {}
    // Writes the content; a document that cannot be saved answers FALSE.
    virtual BOOL OnSaveDocument() { return FALSE; }

private:
    std::string title_;
    BOOL modified_ = FALSE;
};

}  // namespace vorlan
