#include "DeviceConnection.h"

#include <string>

#include "AutoStart.h"
#include "CeRapi.h"
#include "CeUtil.h"
#include "RegKey.h"
#include "ServiceKeys.h"

namespace vorlan::activesync {
namespace {

struct ObjectType {
    std::string name, store;
};

std::vector<ObjectType> RegisteredTypes() {
    std::vector<ObjectType> types;
    RegKey objects;
    if (objects.Open(HKEY_LOCAL_MACHINE, kObjectsKey, KEY_READ) != ERROR_SUCCESS) return types;
    char name[256];
    for (DWORD index = 0; RegEnumKeyA(objects.Get(), index, name, sizeof name) == ERROR_SUCCESS; ++index) {
        char store[256] = "";
        DWORD size = sizeof store - 1;
        if (RegGetValueA(objects.Get(), name, "Store", RRF_RT_REG_SZ, nullptr, store, &size) == ERROR_SUCCESS)
            types.push_back({name, store});
    }
    return types;
}

// Switched off for every device on the machine, or for the connected
// device's partnership through CeUtil, where the options write it.
bool Disabled(const std::string& type) {
    DWORD disabled = 0, size = sizeof disabled;
    const std::string machine = std::string(kObjectsKey) + "\\" + type;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, machine.c_str(), "Disabled", RRF_RT_REG_DWORD, nullptr, &disabled, &size) ==
            ERROR_SUCCESS &&
        disabled != 0)
        return true;
    std::string path = "Objects\\" + type;
    HCESVC service = nullptr;
    if (FAILED(CeSvcOpen(CESVC_SYNCHRONIZATION, path.data(), FALSE, &service))) return false;
    disabled = 0;
    const bool off = SUCCEEDED(CeSvcGetDword(service, "Disabled", &disabled)) && disabled != 0;
    CeSvcClose(service);
    return off;
}

// The one device this service manager plays has partnership 1.
constexpr DWORD kPartner = 1;

LONG SetCurrentPartner(bool connected) {
    if (!connected) return RegDeleteKeyValueA(HKEY_CURRENT_USER, kPartnersKey, kCurrentPartnerValue);
    const std::string partner = std::string(kPartnersKey) + "\\P" + std::to_string(kPartner) + "\\" +
                                kPartnerSynchronizationKey;
    RegKey key;
    LONG error = key.Create(HKEY_CURRENT_USER, partner.c_str(), nullptr, KEY_ALL_ACCESS);
    if (error != ERROR_SUCCESS) return error;
    return RegSetKeyValueA(HKEY_CURRENT_USER, kPartnersKey, kCurrentPartnerValue, REG_DWORD, &kPartner,
                           sizeof kPartner);
}

}  // namespace

DeviceConnection::DeviceConnection(const Journal& journal, std::string statePath, bool propagateDeletions)
    : journal_(journal), notify_(journal), statePath_(std::move(statePath)), propagateDeletions_(propagateDeletions) {
    if (!statePath_.empty()) saved_ = LoadSavedState(statePath_);
}

HRESULT DeviceConnection::Save() const {
    if (statePath_.empty()) return S_OK;
    SavedState state = saved_;
    for (const auto& session : sessions_) state[session->ObjectType()] = session->Saved();
    if (SaveState(statePath_, state)) return S_OK;
    const DWORD error = GetLastError();
    journal_.Write({"state", "not saved", std::to_string(error)});
    return HRESULT_FROM_WIN32(error);
}

bool DeviceConnection::StartDeviceSession() {
    RAPIINIT init = {};
    init.cbSize = sizeof init;
    const HRESULT hr = CeRapiInitEx(&init);
    deviceSession_ = SUCCEEDED(hr);
    deviceReached_ = deviceSession_ && WaitForSingleObject(init.heRapiInit, 2000) == WAIT_OBJECT_0 &&
                     SUCCEEDED(init.hrRapiInit);
    if (!deviceReached_) journal_.Write({"partner", "unreached", SUCCEEDED(hr) ? "time-out" : std::to_string(hr)});
    return deviceReached_;
}

void DeviceConnection::EndDeviceSession() {
    if (deviceSession_) CeRapiUninit();
    deviceSession_ = deviceReached_ = false;
}

HRESULT DeviceConnection::Connected() {
    if (connected_) return Synchronize();
    connected_ = true;
    journal_.Write({"device", "connected"});
    if (const LONG error = SetCurrentPartner(true); error != ERROR_SUCCESS)
        journal_.Write({"partnership", "not set", std::to_string(error)});
    StartAutoStartPrograms(journal_);
    HRESULT result = S_OK;
    for (const ObjectType& type : RegisteredTypes()) {
        if (Disabled(type.name)) {
            journal_.Write({"provider", type.name, type.store, "disabled"});
            continue;
        }
        if (!deviceSession_) StartDeviceSession();  // only for a store that is used
        ProviderSession* session = nullptr;
        for (auto& known : sessions_)
            if (known->ObjectType() == type.name) session = known.get();
        if (!session)
            session = sessions_
                          .emplace_back(std::make_unique<ProviderSession>(journal_, notify_, type.name, type.store,
                                                                          saved_[type.name], propagateDeletions_))
                          .get();
        const HRESULT hr = session->Open(deviceReached_);
        if (FAILED(hr) && SUCCEEDED(result)) result = hr;
    }
    const HRESULT hr = Synchronize();
    return FAILED(result) ? result : hr;
}

HRESULT DeviceConnection::Synchronize() {
    if (!connected_) return HRESULT_FROM_WIN32(ERROR_NOT_CONNECTED);
    journal_.Write({"sync", "begin"});
    HRESULT result = S_OK;
    for (auto& session : sessions_) {
        if (!session->IsOpen()) continue;  // disabled, or it failed to open
        const HRESULT hr = session->Synchronize();
        if (FAILED(hr) && SUCCEEDED(result)) result = hr;
    }
    journal_.Write({"sync", "end"});
    const HRESULT saved = Save();
    return FAILED(result) ? result : saved;
}

void DeviceConnection::Disconnected() {
    if (!connected_) return;
    for (auto& session : sessions_) session->Close();
    EndDeviceSession();
    connected_ = false;
    SetCurrentPartner(false);
    journal_.Write({"device", "disconnected"});
}

HRESULT DeviceConnection::ShowOptions(HWND owner) {
    if (!connected_) return HRESULT_FROM_WIN32(ERROR_NOT_CONNECTED);
    HRESULT result = S_OK;
    for (auto& session : sessions_) {
        if (!session->IsOpen()) continue;
        const HRESULT hr = session->ShowOptions(owner);
        if (FAILED(hr) && SUCCEEDED(result)) result = hr;
    }
    return result;
}

}  // namespace vorlan::activesync
