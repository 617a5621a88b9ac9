#pragma once
// Owning pointer to a COM interface: releases what it holds.
#include <windows.h>
#include <ole2.h>
#include <utility>

namespace vorlan::com {

template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    // Takes a new reference on p.
    explicit ComPtr(T* p) : p_(p) { if (p_) p_->AddRef(); }
    ComPtr(const ComPtr& o) : ComPtr(o.p_) {}
    ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    ~ComPtr() { Reset(); }

    ComPtr& operator=(ComPtr o) noexcept { std::swap(p_, o.p_); return *this; }

    // Takes over a reference the caller already owns.
    static ComPtr Adopt(T* p) { ComPtr r; r.p_ = p; return r; }

    void Reset() { if (p_) std::exchange(p_, nullptr)->Release(); }
    T* Detach() { return std::exchange(p_, nullptr); }
    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

    // For [out] parameters: releases what is held first.
    T** Put() { Reset(); return &p_; }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }

    template <class U>
    HRESULT As(ComPtr<U>& out) const {
        if (!p_) return E_POINTER;
        return p_->QueryInterface(__uuidof(U), out.PutVoid());
    }

private:
    T* p_ = nullptr;
};

template <class T>
HRESULT CreateInstance(REFCLSID clsid, ComPtr<T>& out, DWORD context = CLSCTX_INPROC_SERVER) {
    return CoCreateInstance(clsid, nullptr, context, __uuidof(T), out.PutVoid());
}

}  // namespace vorlan::com
