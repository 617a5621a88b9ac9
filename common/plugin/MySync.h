#pragma once
// IMySync: the engine behind every plug-in's synchroniser object. An engine
// applies one item at a time (PerformTransfer) after Init has connected it
// to what it needs; it reports each failure through its error reporter and
// returns its own HRESULT to the host.
#include <windows.h>
#include <ole2.h>

#include <string>

#include "QvErrorReport.h"
#include "infonode.h"

namespace vorlan {

class IMySync {
public:
    virtual ~IMySync() = default;

    virtual HRESULT Init() = 0;

    // Get accessors always hand out a new BSTR (an empty text is an empty
    // BSTR, never NULL) and never look at what the caller's variable held.
    virtual HRESULT get_RegInfoKey(BSTR* pVal);
    virtual HRESULT put_RegInfoKey(BSTR newVal);
    virtual HRESULT get_ParentUrl(BSTR* pVal);
    virtual HRESULT put_ParentUrl(BSTR newVal);

    virtual HRESULT PerformTransfer(IInfoNode* item) = 0;

protected:
    CQvErrorReport& ErrorReport() { return errorReport_; }
    // Prepares the error report for the engine's class: events go to the
    // source named by the REG_SZ at RegInfoKey ("Vorlan" when it cannot be
    // read), in language 1033.
    void InitErrorReport(const GUID& errorGuid);
    // Reports the event (with its insertion string when there is one) as
    // an error and returns hr.
    HRESULT Fail(DWORD eventId, const std::string& insertion, HRESULT hr);
    // Registry path of the engine's settings (root\key\value).
    const std::string& RegInfoKey() const { return regInfoKey_; }
    // URL of the table that holds the items.
    const std::string& ParentUrl() const { return parentUrl_; }

private:
    CQvErrorReport errorReport_;
    std::string regInfoKey_;
    std::string parentUrl_;
};

}  // namespace vorlan
