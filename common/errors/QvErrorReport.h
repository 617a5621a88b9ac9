#pragma once
// Reporting a failure where it happens: an event under the engine's event
// source, and the thread's COM error information, whose description the
// host reads to show the failure (GetErrorInfo on the same thread).
//
// The texts come from the message file registered for the event source.
// Without one, events are still written and the description says
// "Error 0x<identifier>" followed by the insertion strings.
#include <windows.h>
#include <oaidl.h>

#include <string>
#include <vector>

#include "Bstr.h"
#include "EventLog.h"

namespace vorlan {

class CQvErrorReport {
public:
    CQvErrorReport() = default;
    ~CQvErrorReport();
    CQvErrorReport(const CQvErrorReport&) = delete;
    CQvErrorReport& operator=(const CQvErrorReport&) = delete;

    // Keeps errorGuid, source, language and helpFile for the error
    // information (nullptr texts stay unset). With eventSourceName, reports
    // go under that source and its registered message file is loaded, its
    // path expanded first; a file that does not load is said in a message
    // box and reporting goes on without texts. S_OK, or the load's failure.
    // May be called again: what an earlier call loaded is released.
    HRESULT Init(const GUID& errorGuid, const char* source, const char* eventSourceName, LANGID language,
                 const char* helpFile);

    // The message text of id in the stored language, with its insertion
    // marks as written and its final line break: S_OK; S_FALSE when no
    // message file is loaded; E_FAIL when the file has no such message.
    HRESULT FormatMessageText(DWORD id, std::string& text) const;
    // Sets the error information to the text of id (the message file's, else
    // the current module's string LOWORD(id), else the fallback text) with
    // "%1", "%2", ... replaced in order by strings.
    HRESULT SetErrorText(DWORD id, DWORD helpContext, const std::vector<std::string>& strings);
    // Creates the error information with this reporter's help file, GUID and
    // source, and makes it the thread's.
    HRESULT SetComErrorInfo(const std::string& description, DWORD helpContext);

    // Writes the event and sets the error information. E_INVALIDARG when no
    // message file is loaded (the event and the fallback description are
    // still written), else the result of SetErrorText.
    HRESULT ReportError(DWORD id, WORD type, DWORD helpContext, const std::vector<std::string>& strings);
    HRESULT ReportErrorWithArg(DWORD id, WORD type, DWORD helpContext, const std::string& arg);

    IEventLog& EventLog() { return eventLog_; }
    bool HasMessageFile() const { return messages_ != nullptr; }

private:
    void Release();

    com::Bstr helpFile_;
    com::Bstr source_;
    GUID errorGuid_ = {};
    HMODULE messages_ = nullptr;
    LANGID language_ = 0;
    CEventLog eventLog_;
};

// The registry key of an event source of the Application log, below
// HKEY_LOCAL_MACHINE.
std::string ApplicationSourceKey(const std::string& source);

}  // namespace vorlan
