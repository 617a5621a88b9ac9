#pragma once
// OLE started on this thread for the object's life (OleInitialize) and
// stopped again when it goes, only when it was started here. On a thread
// that already joined the multi-threaded apartment OLE cannot start
// (RPC_E_CHANGED_MODE): Started() is false, and drag and drop is not there
// to register; the caller goes on without it.
//
//   OleScope ole;
//   if (ole.Started()) dropTarget.Register(&list);
#include <windows.h>
#include <ole2.h>

namespace vorlan {

class OleScope {
public:
    OleScope() : result_(OleInitialize(nullptr)) {}
    ~OleScope() {
        if (SUCCEEDED(result_)) OleUninitialize();
    }
    OleScope(const OleScope&) = delete;
    OleScope& operator=(const OleScope&) = delete;

    bool Started() const { return SUCCEEDED(result_); }
    HRESULT Result() const { return result_; }

private:
    HRESULT result_;
};

}  // namespace vorlan
