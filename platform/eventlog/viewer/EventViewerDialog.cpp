#include "EventViewerDialog.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>

#include "EventSources.h"
#include "EventText.h"
#include "TextConversion.h"
#include "ViewerIds.h"

namespace vorlan::eventlog {
namespace {

enum Column { kType, kTime, kSource, kId, kText };

void AddColumn(HWND list, int index, const char* title, int width) {
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<char*>(title);
    column.cx = width;
    column.iSubItem = index;
    SendMessageA(list, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
}

void SetCell(HWND list, int row, int column, const std::string& text) {
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    SendMessageA(list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
}

std::string FirstLine(const std::string& text) { return text.substr(0, text.find_first_of("\r\n")); }

std::string HexId(uint32_t id) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(id));
    return text;
}

void Move(HWND control, int x, int y, int width, int height) {
    if (control) MoveWindow(control, x, y, width < 0 ? 0 : width, height < 0 ? 0 : height, TRUE);
}

}  // namespace

std::string FormatEventTime(uint64_t fileTime) {
    FILETIME utc = {static_cast<DWORD>(fileTime), static_cast<DWORD>(fileTime >> 32)};
    FILETIME local;
    SYSTEMTIME t;
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &t)) return "?";
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour,
                  t.wMinute, t.wSecond);
    return text;
}

EventViewerDialog::EventViewerDialog(std::string log, std::string file)
    : CDialog(IDD_EVENTVIEWER),
      log_(std::move(log)),
      store_(file.empty() ? StoreOfLog(log_) : EventStore(std::move(file), LogMaxSize(log_))) {}

BOOL EventViewerDialog::OnInitDialog() {
    SetWindowTextA(m_hWnd, ("Event Viewer - " + log_).c_str());
    HWND list = GetDlgItem(IDC_EVENTS);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
    AddColumn(list, kType, "Type", 70);
    AddColumn(list, kTime, "Date and time", 130);
    AddColumn(list, kSource, "Source", 90);
    AddColumn(list, kId, "Event ID", 85);
    AddColumn(list, kText, "Description", 400);
    Refresh();
    return TRUE;
}

void EventViewerDialog::Refresh() {
    DecodedLog log;
    bool read = store_.Read(log);
    rows_.clear();
    MessageFiles files;
    for (auto it = log.records.rbegin(); it != log.records.rend(); ++it)
        rows_.push_back({*it, FormatEventTime(it->timeWritten), FormatEventText(*it, log_, files)});
    if (!m_hWnd) return;

    HWND list = GetDlgItem(IDC_EVENTS);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    for (size_t i = 0; i < rows_.size(); ++i) {
        const Row& row = rows_[i];
        std::string type = EventTypeName(row.record.type);
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(i);
        item.pszText = type.data();
        int at = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        SetCell(list, at, kTime, row.time);
        SetCell(list, at, kSource, AnsiFromUtf8(row.record.source));
        SetCell(list, at, kId, HexId(row.record.eventId));
        SetCell(list, at, kText, FirstLine(row.text));
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);

    std::string status;
    if (!read) {
        status = "The log " + store_.Path() + " cannot be read.";
    } else {
        status = std::to_string(rows_.size()) + (rows_.size() == 1 ? " event" : " events");
        if (log.damagedBytes) status += ", " + std::to_string(log.damagedBytes) + " damaged bytes skipped";
    }
    SetDlgItemTextA(m_hWnd, IDC_STATUS, status.c_str());
    ShowDetail(rows_.empty() ? -1 : 0);
    if (!rows_.empty()) {
        LVITEMA state = {};
        state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
    }
}

void EventViewerDialog::ShowDetail(int row) {
    std::string detail;
    if (row >= 0 && static_cast<size_t>(row) < rows_.size()) {
        const Row& r = rows_[static_cast<size_t>(row)];
        detail = "Source: " + AnsiFromUtf8(r.record.source) + "\r\nType: " + EventTypeName(r.record.type) +
                 "\r\nEvent ID: " + HexId(r.record.eventId) + "\r\nCategory: " + std::to_string(r.record.category) +
                 "\r\nDate and time: " + r.time + "\r\nComputer: " + AnsiFromUtf8(r.record.computer) +
                 "\r\nProcess: " + std::to_string(r.record.processId) + "\r\n\r\n" + r.text;
    }
    SetDlgItemTextA(m_hWnd, IDC_DETAIL, detail.c_str());
}

bool EventViewerDialog::OnCommand(WORD id, WORD code, HWND control) {
    if (id == IDC_REFRESH) {
        Refresh();
        return true;
    }
    return CDialog::OnCommand(id, code, control);
}

LRESULT EventViewerDialog::OnNotify(NMHDR* header) {
    if (header->idFrom == IDC_EVENTS && header->code == LVN_ITEMCHANGED) {
        auto* change = reinterpret_cast<NMLISTVIEW*>(header);
        if ((change->uNewState & LVIS_SELECTED) && !(change->uOldState & LVIS_SELECTED))
            ShowDetail(change->iItem);
    }
    return 0;
}

void EventViewerDialog::OnSize(UINT kind, int width, int height) {
    if (kind == SIZE_MINIMIZED) return;
    RECT unit = {0, 0, 7, 14};
    MapDialogRect(m_hWnd, &unit);
    int margin = unit.right, button = unit.bottom;
    int buttonWidth = margin * 50 / 7;
    int bottom = height - margin - button;
    int listHeight = (bottom - 3 * margin) * 3 / 5;
    Move(GetDlgItem(IDC_EVENTS), margin, margin, width - 2 * margin, listHeight);
    Move(GetDlgItem(IDC_DETAIL), margin, 2 * margin + listHeight, width - 2 * margin,
         bottom - 3 * margin - listHeight);
    Move(GetDlgItem(IDCANCEL), width - margin - buttonWidth, bottom, buttonWidth, button);
    Move(GetDlgItem(IDC_REFRESH), width - 2 * margin - 2 * buttonWidth + margin / 2, bottom, buttonWidth, button);
    Move(GetDlgItem(IDC_STATUS), margin, bottom + button / 4, width - 4 * margin - 2 * buttonWidth, button);
}

}  // namespace vorlan::eventlog
