#pragma once
// CShortcut: the shortcut plug-in's engine. One shortcut item creates a
// link in a device folder that points at a device file; a link that cannot
// be made is reported to the event log and returned.
#include <windows.h>

#include <string>

#include "DeviceSession.h"
#include "MySync.h"

namespace vorlan::shortcutsync {

class CShortcut : public IMySync {
public:
    // Event source named at RegInfoKey (else "Vorlan"), error report, and
    // the device session (0xC0020011 and its failure when none). Called
    // again, it ends the session it holds before it starts the next.
    HRESULT Init() override;
    // Reads "DisplayName", "Destination" and "Target" as they stand; an
    // item without one of them is refused (0xC0020013, E_INVALIDARG).
    HRESULT PerformTransfer(IInfoNode* item) override;

    // One link. 0xC0020013 and E_INVALIDARG for an empty argument;
    // 0xC002001C with the shortcut path when its folders cannot be
    // translated or the device refuses it, returning the device's error
    // (E_FAIL when it gives none).
    HRESULT CreateShortcut(const std::string& shortcut, const std::string& target);

private:
    DeviceSession session_;
};

}  // namespace vorlan::shortcutsync
