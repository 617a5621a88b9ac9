#pragma once
// CRegSync: the registry plug-in's engine. The core hands it one registry
// item at a time (Key, Value, Type); it sets or deletes the value or key in
// the device's registry or the workstation's, reporting every failure to
// the event log where it happens and returning it.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "CeRapiWrapper.h"
#include "DeviceSession.h"
#include "MySync.h"

namespace vorlan::regsync {

class CRegSync : public IMySync {
public:
    // Makes the table of the side an item runs on (the device's for a
    // non-zero flag); by default the real one of that side.
    using SideFactory = std::function<std::unique_ptr<CQvCERapiWrapper>(BOOL device)>;

    // Event source named at RegInfoKey (else "Vorlan"), error report, and
    // the device session (0xC0020011 and its failure when none). Called
    // again, it ends the session it holds before it starts the next.
    HRESULT Init() override;
    // Reads "Key", "Value" and "Type" as they stand and applies the item
    // (0xC0020003 and E_INVALIDARG for no item).
    HRESULT PerformTransfer(IInfoNode* item) override;

    // One item: S_OK, E_INVALIDARG for an empty key, E_FAIL when the
    // registry refused (or the path, names or value text cannot be used).
    HRESULT ApplyRegistryItem(const std::string& key, const std::string& value, const std::string& type);

    void SetSideFactory(SideFactory factory) { sides_ = std::move(factory); }

private:
    SideFactory sides_;
    DeviceSession session_;
};

}  // namespace vorlan::regsync
