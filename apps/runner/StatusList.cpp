#include "StatusList.h"

#include "SharedFile.h"

namespace vorlan::runner {

BEGIN_MESSAGE_MAP(CStatusList, CListCtrl)
    ON_MESSAGE(LVM_SETITEMTEXTA, OnSetItemText)
END_MESSAGE_MAP()

LRESULT CStatusList::OnSetItemText(WPARAM row, LPARAM item) {
    LRESULT result = DefWindowProc(LVM_SETITEMTEXTA, row, item);
    const auto* cell = reinterpret_cast<const LVITEMA*>(item);
    char journal[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("VORLAN_RUNNER_JOURNAL", journal, sizeof journal);
    if (result && cell && cell->iSubItem == 1 && cell->pszText && length > 0 && length < sizeof journal) {
        // A journal that cannot be written changes nothing in the window.
        AppendJournalLine(journal, {"status", GetItemText(static_cast<int>(row), 0), cell->pszText});
    }
    return result;
}

}  // namespace vorlan::runner
