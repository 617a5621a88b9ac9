#pragma once
// The engine of the recording plug-in: it writes every call it receives as
// one line to the journal named by VORLAN_RECORDER_JOURNAL, so tests can
// check a host's calling order and arguments. An item whose "Fail" field is
// set fails: "S_FALSE" answers S_FALSE, anything else reports event
// 0xC0020003 with the field as insertion string and answers E_FAIL. With
// VORLAN_RECORDER_FAIL_INIT set, Init reports 0xC0020011 and fails.
#include <string>

#include "MySync.h"

namespace vorlan::recorder {

class CRecorderEngine : public IMySync {
public:
    CRecorderEngine();
    ~CRecorderEngine() override;

    HRESULT Init() override;
    HRESULT put_RegInfoKey(BSTR newVal) override;
    HRESULT put_ParentUrl(BSTR newVal) override;
    HRESULT PerformTransfer(IInfoNode* item) override;
};

// Appends one line to the journal (nothing when the variable is not set).
void Journal(const std::string& line);

}  // namespace vorlan::recorder
