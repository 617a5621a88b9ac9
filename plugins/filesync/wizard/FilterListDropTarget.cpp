#include "FilterListDropTarget.h"

#include <algorithm>
#include <string>

#include "FilterListCtrl.h"
#include "FilterRows.h"

namespace vorlan::filesync {

COleDropTargetSimpleListCtrl::COleDropTargetSimpleListCtrl(const CFilterListCtrl& list, std::function<void()> refused)
    : list_(list), refused_(std::move(refused)) {}

DROPEFFECT COleDropTargetSimpleListCtrl::OnDragOver(CWnd*, COleDataObject* data, DWORD keyState, POINT) {
    if (!data->IsDataAvailable(CF_UNICODETEXT) && !data->IsDataAvailable(CF_TEXT)) return DROPEFFECT_NONE;
    return keyState & MK_CONTROL ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

DROPEFFECT COleDropTargetSimpleListCtrl::OnDrop(CWnd*, COleDataObject* data, DROPEFFECT effect, POINT) {
    std::string text;
    if (!data->GetText(text)) return DROPEFFECT_NONE;
    const std::vector<std::string> rows = SplitDroppedText(text);
    // All or nothing: a move must not lose the rows it could not take.
    if (std::any_of(rows.begin(), rows.end(), [](const std::string& row) { return HoldsFilterSeparator(row); })) {
        if (refused_) refused_();
        return DROPEFFECT_NONE;
    }
    list_.AppendRows(rows);
    return rows.empty() ? DROPEFFECT_NONE : effect;
}

}  // namespace vorlan::filesync
