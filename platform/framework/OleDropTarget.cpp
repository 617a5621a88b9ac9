#include "OleDropTarget.h"

#include <commctrl.h>

#include <utility>

#include "ComObject.h"

namespace vorlan {

// What the system calls: passes each call to its target while the target
// lives (a late call after it went refuses).
class DropTargetSink : public IDropTarget, public com::ComObjectRoot {
public:
    void* FindInterface(REFIID iid) { return com::FindInterfaceOf<IDropTarget>(this, iid); }
    void Orphan() {
        target_ = nullptr;
        data_.Release();
    }
    void Adopt(COleDropTarget* target) { target_ = target; }

    STDMETHODIMP DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override {
        if (!effect) return E_INVALIDARG;
        data_.Attach(data);
        return Answer(&COleDropTarget::OnDragEnter, keyState, point, effect);
    }
    STDMETHODIMP DragOver(DWORD keyState, POINTL point, DWORD* effect) override {
        if (!effect) return E_INVALIDARG;
        return Answer(&COleDropTarget::OnDragOver, keyState, point, effect);
    }
    STDMETHODIMP DragLeave() override {
        if (target_) Call([&](CWnd* window) { target_->OnDragLeave(window); });
        data_.Release();
        return S_OK;
    }
    STDMETHODIMP Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override {
        if (!effect) return E_INVALIDARG;
        data_.Attach(data);
        const DWORD allowed = *effect;
        HRESULT hr = Answer(&COleDropTarget::OnDragOver, keyState, point, effect);
        if (SUCCEEDED(hr) && target_) {
            const DROPEFFECT chosen = *effect;
            POINT client = ClientPoint(point);
            Call([&](CWnd* window) {
                if (chosen == DROPEFFECT_NONE) target_->OnDragLeave(window);
                else *effect = target_->OnDrop(window, &data_, chosen, client) & allowed;
            });
        }
        data_.Release();
        return hr;
    }

private:
    using Handler = DROPEFFECT (COleDropTarget::*)(CWnd*, COleDataObject*, DWORD, POINT);

    template <class Fn>
    void Call(Fn fn) {
        HWND handle = target_->GetWindow();
        if (CWnd* owner = CWnd::FromHandlePermanent(handle)) {
            fn(owner);
            return;
        }
        CWnd view(handle);
        fn(&view);
    }

    POINT ClientPoint(POINTL screen) const {
        POINT point = {screen.x, screen.y};
        ScreenToClient(target_->GetWindow(), &point);
        return point;
    }

    HRESULT Answer(Handler handler, DWORD keyState, POINTL screen, DWORD* effect) {
        const DWORD allowed = *effect;
        *effect = DROPEFFECT_NONE;
        if (!target_ || !target_->GetWindow()) return S_OK;
        const POINT point = ClientPoint(screen);
        DROPEFFECT chosen = DROPEFFECT_NONE;
        Call([&](CWnd* window) { chosen = (target_->*handler)(window, &data_, keyState, point); });
        *effect = chosen & allowed;
        return S_OK;
    }

    COleDropTarget* target_ = nullptr;
    COleDataObject data_;  // the drag's data from DragEnter to DragLeave or Drop
};

COleDropTarget::COleDropTarget() {
    com::ComPtr<IDropTarget> sink;
    if (SUCCEEDED(com::ComObject<DropTargetSink>::CreateInstance<IDropTarget>(sink.Put()))) {
        sinkObject_ = static_cast<DropTargetSink*>(sink.Get());
        sinkObject_->Adopt(this);
        sink_ = std::move(sink);
    }
}

COleDropTarget::~COleDropTarget() {
    Revoke();
    if (sinkObject_) sinkObject_->Orphan();
}

HRESULT COleDropTarget::Register(CWnd* window) { return Register(window ? window->m_hWnd : nullptr); }

HRESULT COleDropTarget::Register(HWND window) {
    if (!sink_) return E_OUTOFMEMORY;
    if (!window || !IsWindow(window) || window_) return E_INVALIDARG;
    // Drops reach a window of a single-threaded apartment only (the system
    // would register one elsewhere that never hears a drop).
    APTTYPE apartment;
    APTTYPEQUALIFIER qualifier;
    if (FAILED(CoGetApartmentType(&apartment, &qualifier)) ||
        (apartment != APTTYPE_STA && apartment != APTTYPE_MAINSTA))
        return CO_E_NOTINITIALIZED;
    HRESULT hr = RegisterDragDrop(window, sink_.Get());
    if (FAILED(hr)) return hr;
    // The registration must end before the window goes.
    if (!SetWindowSubclass(window, &COleDropTarget::WatchWindow, 0, reinterpret_cast<DWORD_PTR>(this))) {
        RevokeDragDrop(window);
        return E_FAIL;
    }
    window_ = window;
    return S_OK;
}

void COleDropTarget::Revoke() {
    if (!window_) return;
    HWND window = std::exchange(window_, nullptr);
    RevokeDragDrop(window);
    // The watch stays, idle, until the window's last message: taken out
    // now it could take a procedure put over it along, a framework
    // object's among them.
    SetWindowSubclass(window, &COleDropTarget::WatchWindow, 0, 0);
}

LRESULT CALLBACK COleDropTarget::WatchWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                             DWORD_PTR self) {
    if (message == WM_DESTROY && self) reinterpret_cast<COleDropTarget*>(self)->Revoke();
    if (message == WM_NCDESTROY) RemoveWindowSubclass(window, &COleDropTarget::WatchWindow, 0);
    return DefSubclassProc(window, message, wParam, lParam);
}

DROPEFFECT COleDropTarget::OnDragEnter(CWnd* window, COleDataObject* data, DWORD keyState, POINT point) {
    return OnDragOver(window, data, keyState, point);
}

DROPEFFECT COleDropTarget::OnDragOver(CWnd*, COleDataObject*, DWORD, POINT) { return DROPEFFECT_NONE; }

void COleDropTarget::OnDragLeave(CWnd*) {}

DROPEFFECT COleDropTarget::OnDrop(CWnd*, COleDataObject*, DROPEFFECT, POINT) { return DROPEFFECT_NONE; }

}  // namespace vorlan
