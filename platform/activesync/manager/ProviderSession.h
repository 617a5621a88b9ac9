#pragma once
// One provider loaded for a connected device, driven the way ActiveSync's
// service manager drives it: opened once per connection, synchronised on
// each request, released when the device goes. Every call of the
// provider's interfaces is journaled as
//   call <Interface>::<Method> <result> [details]
// (HRESULTs in hex, BOOLs as TRUE/FALSE). All calls come on the thread that
// opened the session, which must be in a single-threaded apartment.
#include <windows.h>

#include <string>
#include <vector>

#include "DevicePartner.h"
#include "Journal.h"
#include "ReplNotify.h"
#include "ReplStore.h"
#include "SavedState.h"

namespace vorlan::activesync {

class ProviderSession {
public:
    // saved: what an earlier session with this type's store saw.
    // propagateDeletions: a device object reported deleted is deleted on the
    // desktop too (off: it is only journaled).
    ProviderSession(const Journal& journal, ReplNotify& notify, std::string objectType, std::string progId,
                    const ProviderState& saved = {}, bool propagateDeletions = false);
    ~ProviderSession();
    ProviderSession(const ProviderSession&) = delete;
    ProviderSession& operator=(const ProviderSession&) = delete;

    // Creates the store and asks it what a connection needs; a failure
    // leaves the session closed. With a device session, the type's device
    // half starts too.
    HRESULT Open(bool deviceConnected);
    // One synchronisation: the items enumerated, compared with what was
    // seen before, the new or changed ones read and carried to the device,
    // and what the device changed carried to the store. When both sides
    // changed, the desktop's bytes win.
    HRESULT Synchronize();
    // The provider's options dialog (ActivateDialog 0) over owner, with the
    // items seen so far; E_UNEXPECTED when the session is closed.
    HRESULT ShowOptions(HWND owner);
    // Ends the device half, releases every handle, the object handler and
    // the store; what was seen is kept as bytes for the next connection.
    void Close();

    const std::string& ObjectType() const { return objectType_; }
    bool IsOpen() const { return store_ != nullptr; }
    // What to remember: the store's identifier and the items' byte forms.
    ProviderState Saved() const;

private:
    struct Seen {
        HREPLITEM item;           // NULL while no store is loaded
        std::vector<BYTE> bytes;  // its byte form after the last synchronisation
        bool send;                // new or changed since it was last sent
    };
    HRESULT ReadItem(HREPLITEM item, std::vector<BYTE>& bytes);
    // Device bytes into the store: over the known item, or a new one.
    HRESULT WriteItem(const std::vector<BYTE>& bytes);
    HRESULT DeleteItem(HREPLITEM item);
    // A write transfer of the store's item (NULL for a new one).
    REPLSETUP WriteSetup(HREPLITEM item, DWORD flags);
    // The device half's share of a synchronisation, after the store's items were read.
    HRESULT CarryDeviceChanges(bool desktopChanged);
    void Call(const char* method, const std::string& result, std::vector<std::string> details = {}) const;

    const Journal& journal_;
    ReplNotify& notify_;
    std::string objectType_, progId_;
    IReplStore* store_ = nullptr;
    IReplObjHandler* handler_ = nullptr;
    HREPLFLD folder_ = nullptr;
    std::vector<Seen> items_;
    std::vector<BYTE> storeId_;  // of the store that saw items_
    bool propagateDeletions_;
    DevicePartner partner_;
    bool partnerReady_ = false;
};

}  // namespace vorlan::activesync
