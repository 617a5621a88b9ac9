#pragma once
// What the service manager does for a connected device: the auto-start
// programs, and a session with every enabled provider registered under
// ActiveSync's synchronisation objects, each with its device half when
// the device answers.
#include <memory>
#include <vector>

#include "Journal.h"
#include "ProviderSession.h"
#include "ReplNotify.h"

namespace vorlan::activesync {

class DeviceConnection {
public:
    // statePath: where what the providers saw is remembered between runs;
    // empty for nowhere. propagateDeletions: device deletions reach the
    // providers' stores (ProviderSession.h).
    DeviceConnection(const Journal& journal, std::string statePath, bool propagateDeletions = false);
    ~DeviceConnection() { Disconnected(); }
    DeviceConnection(const DeviceConnection&) = delete;
    DeviceConnection& operator=(const DeviceConnection&) = delete;

    // Starts the programs, opens the providers and synchronises once. A
    // connection that is up already is only synchronised.
    HRESULT Connected();
    // Every open provider synchronises; HRESULT_FROM_WIN32(ERROR_NOT_CONNECTED)
    // without a device.
    HRESULT Synchronize();
    void Disconnected();
    // The options dialog of every open provider, owned by owner.
    HRESULT ShowOptions(HWND owner);

private:
    HRESULT Save() const;
    // The device session the device halves use; false, journaled, when the
    // device does not answer in time.
    bool StartDeviceSession();
    void EndDeviceSession();

    const Journal& journal_;
    ReplNotify notify_;
    std::string statePath_;
    SavedState saved_;
    bool connected_ = false;
    bool propagateDeletions_;
    bool deviceSession_ = false, deviceReached_ = false;
    // Kept over connections, so each provider's items are known again.
    std::vector<std::unique_ptr<ProviderSession>> sessions_;
};

}  // namespace vorlan::activesync
