#include "ComModule.h"

#include <oleauto.h>

namespace vorlan::com {

ComModule& ComModule::Instance() {
    static ComModule module;
    return module;
}

ComModule::ComModule() { InitializeCriticalSection(&guard_); }

void ComModule::Attach(HINSTANCE module) { module_ = module; }

std::wstring ComModule::Path() const {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(module_, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

HRESULT ComModule::TypeLib(ITypeLib** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    EnterCriticalSection(&guard_);
    HRESULT hr = S_OK;
    if (!typeLib_) hr = LoadTypeLibEx(Path().c_str(), REGKIND_NONE, &typeLib_);
    if (SUCCEEDED(hr)) {
        typeLib_->AddRef();
        *out = typeLib_;
    }
    LeaveCriticalSection(&guard_);
    return hr;
}

HRESULT ComModule::TypeInfo(REFIID iid, ITypeInfo** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    EnterCriticalSection(&guard_);
    HRESULT hr = S_OK;
    for (int i = 0; i < cachedCount_; ++i) {
        if (IsEqualIID(cachedIids_[i], iid)) {
            *out = cachedInfos_[i];
            (*out)->AddRef();
            LeaveCriticalSection(&guard_);
            return S_OK;
        }
    }
    if (!typeLib_) hr = LoadTypeLibEx(Path().c_str(), REGKIND_NONE, &typeLib_);
    ITypeInfo* info = nullptr;
    if (SUCCEEDED(hr)) hr = typeLib_->GetTypeInfoOfGuid(iid, &info);
    if (SUCCEEDED(hr)) {
        if (cachedCount_ < kMaxTypeInfos) {
            cachedIids_[cachedCount_] = iid;
            cachedInfos_[cachedCount_] = info;
            info->AddRef();
            ++cachedCount_;
        }
        *out = info;
    }
    LeaveCriticalSection(&guard_);
    return hr;
}

void ComModule::ReleaseCaches() {
    EnterCriticalSection(&guard_);
    for (int i = 0; i < cachedCount_; ++i) cachedInfos_[i]->Release();
    cachedCount_ = 0;
    if (typeLib_) typeLib_->Release();
    typeLib_ = nullptr;
    LeaveCriticalSection(&guard_);
}

}  // namespace vorlan::com
