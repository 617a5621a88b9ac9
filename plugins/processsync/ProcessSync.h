#pragma once
// CProcessSync: the program plug-in's engine. One program item starts a
// device program (and waits for it, or not), closes a device window by its
// title, or runs a workstation command; scripts also send message boxes
// and notifications to the device. Every failure of an item is reported to
// the event log where it happens and returned.
#include <windows.h>

#include <string>

#include "DeviceSession.h"
#include "MySync.h"

namespace vorlan::processsync {

class CProcessSync : public IMySync {
public:
    // Event source named at RegInfoKey (else "Vorlan"), error report, and
    // the device session (0xC0020011 and its failure when none). Called
    // again, it ends the session it holds before it starts the next.
    HRESULT Init() override;
    // Reads "ProcessIdentifier" and "Flag" as they stand and applies the
    // item (0xC0020003 and E_INVALIDARG for no item).
    HRESULT PerformTransfer(IInfoNode* item) override;

    // One item. E_INVALIDARG (0xC002000A) for an empty identifier or one
    // whose symbolic folders cannot be translated; otherwise S_OK or the
    // failure of the action, reported.
    HRESULT ApplyProcessItem(const std::string& identifier, const std::string& flag);

    // The device library's answer when it is a failure, the transport's
    // failure, E_INVALIDARG for texts that do not fit the record.
    HRESULT SendDeviceNotification(const std::wstring& message, const std::wstring& title, DWORD flags,
                                   DWORD duration);
    HRESULT ShowDeviceMessageBox(const std::wstring& message, const std::wstring& title, DWORD flags);

private:
    HRESULT RunLocalCommand(const std::string& command);
    HRESULT StartDeviceProgram(const std::string& identifier);
    HRESULT CallWithTitle(const wchar_t* function, const std::string& text, bool waits);
    // The transport's result; *result the device library's first answer word.
    HRESULT SendMessageRecord(const wchar_t* function, const std::wstring& message, const std::wstring& title,
                              DWORD flags, DWORD duration, DWORD* result);

    DeviceSession session_;
};

}  // namespace vorlan::processsync
