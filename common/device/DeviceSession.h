#pragma once
// The remote API session with the connected device. Sessions are counted
// per process: every start is paired with one stop, and whoever starts one
// remembers that it did, so it never ends a session that someone else
// holds.
#include <windows.h>

namespace vorlan {

// How long every caller waits for the device to answer.
inline constexpr DWORD kDeviceWaitMs = 2000;

// Starts a session and waits up to timeoutMs for the device to answer.
// *opened (when given) tells whether a session was started; the caller
// ends it with RapiUninit, also when the wait failed. Results: the start's
// failure, the failure the device reported, E_FAIL when the wait timed out
// or failed, else S_OK.
HRESULT RapiInit(DWORD timeoutMs, bool* opened = nullptr);
// Ends one session started by RapiInit.
HRESULT RapiUninit();

// The same pair under the names the device information users know.
inline HRESULT ConnectDevice(DWORD milliseconds, bool* opened = nullptr) { return RapiInit(milliseconds, opened); }
inline HRESULT DisconnectDevice() { return RapiUninit(); }

// A session that belongs to one object and ends with it.
class DeviceSession {
public:
    DeviceSession() = default;
    ~DeviceSession() { Close(); }
    DeviceSession(const DeviceSession&) = delete;
    DeviceSession& operator=(const DeviceSession&) = delete;

    // Ends the session this object holds, if any, and starts a new one:
    // RapiInit's result.
    HRESULT Open(DWORD timeoutMs = kDeviceWaitMs);
    // Ends the session only when this object started it.
    void Close();
    // A session is started (the device may not have answered).
    bool IsOpen() const { return opened_; }

private:
    bool opened_ = false;
};

}  // namespace vorlan
