#include "ProviderLibraries.h"

#include <memory>

#include "Coredll.h"

namespace vorlan::activesync::device {
namespace {

std::vector<std::unique_ptr<ProviderLibrary>> loaded;

template <class Fn>
bool Bind(HMODULE module, const wchar_t* name, Fn& fn) {
    fn = reinterpret_cast<Fn>(GetProcAddressW(module, name));
    return fn != nullptr;
}

std::wstring StoreOf(const std::wstring& type, std::string& error) {
    const std::wstring path = std::wstring(ce::kDeviceObjectsKey) + L"\\" + type;
    HKEY key = nullptr;
    LONG status = RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key);
    std::wstring store;
    if (status == ERROR_SUCCESS) {
        DWORD type = 0, size = 0;
        status = RegQueryValueExW(key, L"Store", nullptr, &type, nullptr, &size);
        if (status == ERROR_SUCCESS && type == REG_SZ) {
            std::vector<wchar_t> text(size / sizeof(wchar_t) + 1, 0);
            status = RegQueryValueExW(key, L"Store", nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size);
            if (status == ERROR_SUCCESS) store = text.data();
        } else if (status == ERROR_SUCCESS) {
            status = ERROR_DATATYPE_MISMATCH;
        }
        RegCloseKey(key);
    }
    if (store.empty()) error = "no store " + std::to_string(status == ERROR_SUCCESS ? ERROR_FILE_NOT_FOUND : status);
    return store;
}

}  // namespace

ProviderLibrary* ProviderFor(const std::wstring& type, std::string& error) {
    for (auto& provider : loaded)
        if (provider->type == type) return provider.get();
    const std::wstring store = StoreOf(type, error);
    if (store.empty()) return nullptr;
    auto provider = std::make_unique<ProviderLibrary>();
    provider->type = type;
    provider->module = LoadLibraryW(store.c_str());  // a bare name is looked for in \Windows
    if (!provider->module) {
        error = "not loaded " + std::to_string(GetLastError());
        return nullptr;
    }
    if (!Bind(provider->module, L"InitObjType", provider->initObjType) ||
        !Bind(provider->module, L"ObjectNotify", provider->objectNotify) ||
        !Bind(provider->module, L"GetObjTypeInfo", provider->getObjTypeInfo) ||
        !Bind(provider->module, L"ReportStatus", provider->reportStatus)) {
        error = "export missing";
        FreeLibrary(provider->module);
        return nullptr;
    }
    loaded.push_back(std::move(provider));
    return loaded.back().get();
}

std::vector<ProviderLibrary*> LoadedProviders() {
    std::vector<ProviderLibrary*> providers;
    for (auto& provider : loaded) providers.push_back(provider.get());
    return providers;
}

}  // namespace vorlan::activesync::device
