#pragma once
// A window that accepts drops: derive, answer the virtuals, Register it
// with the window (OLE started on the thread, see OleScope.h).
//
//   class CRowsDropTarget : public COleDropTarget {
//       DROPEFFECT OnDragOver(CWnd*, COleDataObject* data, DWORD keys, POINT) override {
//           if (!data->IsDataAvailable(CF_UNICODETEXT) && !data->IsDataAvailable(CF_TEXT)) return DROPEFFECT_NONE;
//           return keys & MK_CONTROL ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
//       }
//       DROPEFFECT OnDrop(CWnd* window, COleDataObject* data, DROPEFFECT effect, POINT point) override {
//           std::string text;
//           if (!data->GetText(text)) return DROPEFFECT_NONE;
//           AppendRows(text);
//           return effect;
//       }
//   };
//   CRowsDropTarget target;
//   target.Register(&list);
//
// The virtuals get the window's object (a plain view of the handle when no
// object owns it), the data wrapped, the key state exactly as the system
// hands it (MK_LBUTTON, MK_CONTROL, MK_SHIFT, MK_ALT ...; never the
// keyboard's state read again) and the point in the window's client
// coordinates. What they answer is kept within the effects the source
// allows. At the drop, OnDragOver decides the effect for the drop's key
// state first: none, and the target hears OnDragLeave instead; else OnDrop
// performs that effect and answers it (or DROPEFFECT_NONE when it took
// nothing after all). The registration ends with Revoke, when the window
// is destroyed, or with the object.
#include <windows.h>
#include <ole2.h>

#include "ComPtr.h"
#include "OleDataObject.h"
#include "Wnd.h"

namespace vorlan {

class DropTargetSink;

class COleDropTarget {
public:
    COleDropTarget();
    virtual ~COleDropTarget();
    COleDropTarget(const COleDropTarget&) = delete;
    COleDropTarget& operator=(const COleDropTarget&) = delete;

    // RegisterDragDrop's result: CO_E_NOTINITIALIZED on a thread outside a
    // single-threaded apartment (OLE not started, or a multi-threaded one), DRAGDROP_E_ALREADYREGISTERED when the window has a target,
    // E_INVALIDARG when the object is registered already.
    HRESULT Register(CWnd* window);
    HRESULT Register(HWND window);
    void Revoke();
    bool IsRegistered() const { return window_ != nullptr; }
    HWND GetWindow() const { return window_; }
    // The IDropTarget the system calls (the object's reference).
    IDropTarget* GetDropTarget() const { return sink_.Get(); }

    // A drag enters the window, moves over it, leaves it, or drops on it.
    // OnDragEnter asks OnDragOver by default; the others refuse.
    virtual DROPEFFECT OnDragEnter(CWnd* window, COleDataObject* data, DWORD keyState, POINT point);
    virtual DROPEFFECT OnDragOver(CWnd* window, COleDataObject* data, DWORD keyState, POINT point);
    virtual void OnDragLeave(CWnd* window);
    // Performs effect (what OnDragOver chose at the drop); the effect
    // performed, DROPEFFECT_NONE when nothing was taken.
    virtual DROPEFFECT OnDrop(CWnd* window, COleDataObject* data, DROPEFFECT effect, POINT point);

private:
    static LRESULT CALLBACK WatchWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                        DWORD_PTR self);

    com::ComPtr<IDropTarget> sink_;
    DropTargetSink* sinkObject_ = nullptr;  // the object sink_ holds
    HWND window_ = nullptr;
};

}  // namespace vorlan
