#pragma once
// COleDropTargetSimpleListCtrl: the drop target of a filter list. Text
// dropped on the list becomes rows at its end, one per line; Ctrl in the
// key state copies, anything else moves; data without text is refused, and
// so is text holding a pattern with ":" or "|" (refused says so).
#include <functional>

#include "OleDropTarget.h"

namespace vorlan::filesync {

class CFilterListCtrl;

class COleDropTargetSimpleListCtrl : public COleDropTarget {
public:
    COleDropTargetSimpleListCtrl(const CFilterListCtrl& list, std::function<void()> refused);

    DROPEFFECT OnDragOver(CWnd* window, COleDataObject* data, DWORD keyState, POINT point) override;
    DROPEFFECT OnDrop(CWnd* window, COleDataObject* data, DROPEFFECT effect, POINT point) override;

private:
    const CFilterListCtrl& list_;
    std::function<void()> refused_;
};

}  // namespace vorlan::filesync
