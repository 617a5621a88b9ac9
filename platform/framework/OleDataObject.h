#pragma once
// The data of a drag (or of the clipboard) as the receiving side reads it:
// a wrapper over an IDataObject that asks for formats and reads text.
//
//   DROPEFFECT OnDrop(CWnd*, COleDataObject* data, DWORD keys, POINT) override {
//       std::string text;
//       if (!data->GetText(text)) return DROPEFFECT_NONE;
//       ...
//   }
//
// Only data in global memory (TYMED_HGLOBAL) of the content aspect is read.
#include <windows.h>
#include <ole2.h>

#include <string>

namespace vorlan {

// DROPEFFECT_NONE, DROPEFFECT_COPY, DROPEFFECT_MOVE, DROPEFFECT_LINK.
using DROPEFFECT = DWORD;

class COleDataObject {
public:
    COleDataObject() = default;
    // Wraps data, holding a reference of its own.
    explicit COleDataObject(IDataObject* data) { Attach(data); }
    ~COleDataObject() { Release(); }
    COleDataObject(const COleDataObject&) = delete;
    COleDataObject& operator=(const COleDataObject&) = delete;

    // Holds a reference of its own to data (nullptr holds nothing).
    void Attach(IDataObject* data);
    void Release();
    IDataObject* GetIDataObject() const { return data_; }

    // True when the data offers the format (CF_UNICODETEXT, CF_TEXT, ...)
    // in global memory.
    bool IsDataAvailable(CLIPFORMAT format) const;
    // The text the data holds, up to its first null character: its
    // CF_UNICODETEXT, else its CF_TEXT (in the ANSI code page). False when
    // it holds neither.
    bool GetText(std::wstring& text) const;
    // The same in the ANSI code page.
    bool GetText(std::string& text) const;

private:
    IDataObject* data_ = nullptr;
};

}  // namespace vorlan
