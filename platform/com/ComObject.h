#pragma once
// Reference-counted COM objects, aggregatable.
//
// A class T implements its interfaces' methods and one function
//     void* FindInterface(REFIID iid);
// that answers its own interfaces (not IUnknown), usually through
// FindInterfaceOf<I...>. ComObject<T> adds IUnknown: delegating to the outer
// object when aggregated, its own count otherwise. Every live object holds
// a lock on the module.
#include <windows.h>
#include <ole2.h>
#include <new>
#include <utility>

#include "ComModule.h"

namespace vorlan::com {

// Answers iid when it names one of the interfaces I...; Via lets IDispatch
// be answered through a dual interface: FindInterfaceOf<IFoo, Via<IDispatch, IFoo>>.
template <class Itf, class Through>
struct Via {};

namespace detail {
template <class Self, class Entry>
struct Lookup {
    static void* Find(Self* self, REFIID iid) {
        return IsEqualIID(iid, __uuidof(Entry)) ? static_cast<Entry*>(self) : nullptr;
    }
};
template <class Self, class Itf, class Through>
struct Lookup<Self, Via<Itf, Through>> {
    static void* Find(Self* self, REFIID iid) {
        return IsEqualIID(iid, __uuidof(Itf))
                   ? static_cast<Itf*>(static_cast<Through*>(self)) : nullptr;
    }
};
}  // namespace detail

template <class... Entries, class Self>
void* FindInterfaceOf(Self* self, REFIID iid) {
    void* found = nullptr;
    ((found = found ? found : detail::Lookup<Self, Entries>::Find(self, iid)), ...);
    return found;
}

template <class T>
class ComObject final : public T {
public:
    template <class... Args>
    explicit ComObject(IUnknown* outer, Args&&... args)
        : T(std::forward<Args>(args)...), inner_(this), outer_(outer ? outer : &inner_) {
        ComModule::Instance().Lock();
    }
    ~ComObject() override { ComModule::Instance().Unlock(); }

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        return outer_->QueryInterface(iid, out);
    }
    STDMETHODIMP_(ULONG) AddRef() override { return outer_->AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return outer_->Release(); }

    // Creates an object and answers iid through its own (inner) IUnknown.
    // An outer object may only ask for IUnknown.
    template <class... Args>
    static HRESULT Create(IUnknown* outer, REFIID iid, void** out, Args&&... args) {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (outer && !IsEqualIID(iid, IID_IUnknown)) return CLASS_E_NOAGGREGATION;
        auto* object = new (std::nothrow) ComObject(outer, std::forward<Args>(args)...);
        if (!object) return E_OUTOFMEMORY;
        object->inner_.AddRef();
        HRESULT hr = object->FinalConstruct();
        if (SUCCEEDED(hr)) hr = object->inner_.QueryInterface(iid, out);
        object->inner_.Release();
        return hr;
    }

    // For code inside the server that needs a typed pointer to a new object.
    template <class Itf, class... Args>
    static HRESULT CreateInstance(Itf** out, Args&&... args) {
        return Create(nullptr, __uuidof(Itf), reinterpret_cast<void**>(out),
                      std::forward<Args>(args)...);
    }

private:
    class Inner final : public IUnknown {
    public:
        explicit Inner(ComObject* self) : self_(self) {}
        STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
            if (!out) return E_POINTER;
            *out = IsEqualIID(iid, IID_IUnknown) ? static_cast<IUnknown*>(this)
                                                 : self_->FindInterface(iid);
            if (!*out) return E_NOINTERFACE;
            static_cast<IUnknown*>(*out)->AddRef();
            return S_OK;
        }
        STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&refs_); }
        STDMETHODIMP_(ULONG) Release() override {
            ULONG left = InterlockedDecrement(&refs_);
            if (left == 0) delete self_;
            return left;
        }

    private:
        ComObject* self_;
        volatile LONG refs_ = 0;
    };

    Inner inner_;
    IUnknown* outer_;
};

// Base of every COM class: a virtual destructor and the construction hook.
class ComObjectRoot {
public:
    virtual ~ComObjectRoot() = default;
    // Runs once the object is counted; a failure destroys it.
    HRESULT FinalConstruct() { return S_OK; }
};

}  // namespace vorlan::com
