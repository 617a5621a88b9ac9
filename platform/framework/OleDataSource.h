#pragma once
// The data a drag (or the clipboard) offers: text kept in a data object of
// its own, handed to DoDragDrop or to anyone who asks for its IDataObject.
//
//   COleDataSource source;
//   source.CacheText(JoinRows(selected, "\n"));
//   if (source.DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE) == DROPEFFECT_MOVE) RemoveRows(selected);
//
// Text is offered as CF_UNICODETEXT and as CF_TEXT in the ANSI code page,
// in global memory, each read giving a copy of its own. The data object
// lives on as long as someone holds it, even after the source went.
#include <windows.h>
#include <ole2.h>

#include <string>

#include "ComPtr.h"
#include "OleDataObject.h"

namespace vorlan {

class CachedData;

class COleDataSource {
public:
    COleDataSource();
    ~COleDataSource() = default;
    COleDataSource(const COleDataSource&) = delete;
    COleDataSource& operator=(const COleDataSource&) = delete;

    // Offers text (replacing text offered before); ANSI code page or UTF-16.
    void CacheText(const std::string& text);
    void CacheText(const std::wstring& text);
    // Offers nothing any more.
    void Empty();

    // Runs the drag on this thread (OLE started on it, a mouse button held)
    // until the user drops or cancels: the effect the target chose, within
    // effects, DROPEFFECT_NONE when cancelled, refused or when the drag
    // could not run (result, when given, tells which).
    DROPEFFECT DoDragDrop(DWORD effects = DROPEFFECT_COPY | DROPEFFECT_MOVE, HRESULT* result = nullptr);

    // The data object (the source's reference; AddRef to keep it);
    // nullptr only when memory ran out.
    IDataObject* GetDataObject() const { return data_.Get(); }

private:
    com::ComPtr<IDataObject> data_;
    CachedData* cache_ = nullptr;  // the object data_ holds
};

}  // namespace vorlan
