#pragma once
// The provider's library loaded into the test, its exports, and a marker
// folder of the test's own: the user's temporary folder is pointed at a
// fresh folder first, so the store's marker file lands there.
#include <windows.h>
#include <ole2.h>

#include <string>
#include <vector>

#include "ReplStore.h"
#include "TestSupport.h"

namespace vorlan::testing {

class ProviderLibrary {
public:
    ProviderLibrary();
    ~ProviderLibrary();
    ProviderLibrary(const ProviderLibrary&) = delete;
    ProviderLibrary& operator=(const ProviderLibrary&) = delete;

    HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** out) const;
    HRESULT CanUnloadNow() const;
    HRESULT Register() const;
    HRESULT Unregister() const;
    // A new store from the library's factory; nullptr when none was made.
    IReplStore* NewStore() const;

    // The marker path the store uses.
    std::string MarkerPath() const { return temp_ / "Vorlan.txt"; }
    const TempFolder& Temp() const { return temp_; }
    std::string ModulePath() const;

private:
    TempFolder temp_;
    std::string previousTemp_, previousTmp_;
    HMODULE module_ = nullptr;
};

// A folder handle, an item handle and the object handler of one store,
// freed with it.
class StoreSession {
public:
    explicit StoreSession(IReplStore* store);
    ~StoreSession();
    StoreSession(const StoreSession&) = delete;
    StoreSession& operator=(const StoreSession&) = delete;

    IReplStore* Store() const { return store_; }
    HREPLFLD Folder() const { return folder_; }
    IReplObjHandler* Handler() const { return handler_; }
    // A new item handle from its byte form, owned by the session.
    HREPLITEM Item(const std::string& path, FILETIME time = {});

private:
    IReplStore* store_;
    HREPLFLD folder_ = nullptr;
    IReplObjHandler* handler_ = nullptr;
    std::vector<HREPLITEM> items_;
};

// The byte form of a handle, as the service manager keeps it.
std::string FolderBytes(const std::string& name);
std::string ItemBytes(const std::string& path, FILETIME time);

}  // namespace vorlan::testing
