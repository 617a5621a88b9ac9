#pragma once
// The runner's list of status rows. When VORLAN_RUNNER_JOURNAL names a file,
// every text a row's status column receives (the core's progress lines and
// the runner's own) is also journaled there (see SharedFile.h) as:
// "status", the row's name, the text. ./vorlan sync prints them from there.
#include "Controls.h"

namespace vorlan::runner {

class CStatusList : public CListCtrl {
protected:
    LRESULT OnSetItemText(WPARAM row, LPARAM item);
    DECLARE_MESSAGE_MAP()
};

}  // namespace vorlan::runner
