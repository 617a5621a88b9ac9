#include "ProviderLibrary.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace vorlan::testing {
namespace {

std::string Environment(const char* name) {
    char value[MAX_PATH] = "";
    GetEnvironmentVariableA(name, value, sizeof value);
    return value;
}

template <class Proc>
Proc Export(HMODULE module, const char* name) {
    auto proc = reinterpret_cast<Proc>(GetProcAddress(module, name));
    if (!proc) throw std::runtime_error(std::string("no export ") + name);
    return proc;
}

std::string Bytes(uint32_t tag, const std::string& name, size_t size) {
    std::string bytes(size, '\0');
    std::memcpy(bytes.data(), &tag, 4);
    std::memcpy(bytes.data() + 4, name.data(), std::min<size_t>(name.size(), 260));
    return bytes;
}

}  // namespace

ProviderLibrary::ProviderLibrary() : previousTemp_(Environment("TEMP")), previousTmp_(Environment("TMP")) {
    SetEnvironmentVariableA("TEMP", temp_.Path().c_str());
    SetEnvironmentVariableA("TMP", temp_.Path().c_str());
    module_ = LoadLibraryA(WindowsPath(PROVIDER_PATH).c_str());
    if (!module_) throw std::runtime_error("provider not loaded");
}

ProviderLibrary::~ProviderLibrary() {
    FreeLibrary(module_);
    SetEnvironmentVariableA("TEMP", previousTemp_.c_str());
    SetEnvironmentVariableA("TMP", previousTmp_.c_str());
}

HRESULT ProviderLibrary::GetClassObject(REFCLSID clsid, REFIID iid, void** out) const {
    return Export<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(module_, "DllGetClassObject")(clsid, iid, out);
}

HRESULT ProviderLibrary::CanUnloadNow() const {
    return Export<HRESULT(WINAPI*)()>(module_, "DllCanUnloadNow")();
}

HRESULT ProviderLibrary::Register() const { return Export<HRESULT(WINAPI*)()>(module_, "DllRegisterServer")(); }

HRESULT ProviderLibrary::Unregister() const {
    return Export<HRESULT(WINAPI*)()>(module_, "DllUnregisterServer")();
}

IReplStore* ProviderLibrary::NewStore() const {
    IClassFactory* factory = nullptr;
    if (FAILED(GetClassObject(CLSID_NULL, IID_IClassFactory, reinterpret_cast<void**>(&factory)))) return nullptr;
    IReplStore* store = nullptr;
    factory->CreateInstance(nullptr, IID_IReplStore, reinterpret_cast<void**>(&store));
    factory->Release();
    return store;
}

std::string ProviderLibrary::ModulePath() const {
    char path[MAX_PATH];
    return std::string(path, GetModuleFileNameA(module_, path, sizeof path));
}

StoreSession::StoreSession(IReplStore* store) : store_(store) {
    IUnknown* handler = nullptr;
    if (store_ && SUCCEEDED(store_->GetFolderInfo(const_cast<char*>("Vorlan"), &folder_, &handler)))
        handler_ = static_cast<IReplObjHandler*>(handler);
}

StoreSession::~StoreSession() {
    if (!store_) return;
    for (HREPLITEM item : items_) store_->FreeObject(item);
    store_->FreeObject(folder_);
    if (handler_) handler_->Release();
    store_->Release();
}

HREPLITEM StoreSession::Item(const std::string& path, FILETIME time) {
    std::string bytes = ItemBytes(path, time);
    HREPLITEM item = store_->BytesToObject(reinterpret_cast<BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
    if (item) items_.push_back(item);
    return item;
}

std::string FolderBytes(const std::string& name) { return Bytes(1, name, 264); }

std::string ItemBytes(const std::string& path, FILETIME time) {
    std::string bytes = Bytes(2, path, 272);
    std::memcpy(bytes.data() + 264, &time.dwLowDateTime, 4);
    std::memcpy(bytes.data() + 268, &time.dwHighDateTime, 4);
    return bytes;
}

}  // namespace vorlan::testing
