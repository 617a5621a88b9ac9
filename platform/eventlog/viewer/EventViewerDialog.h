#pragma once
// The event viewer's window: the records of one log, newest first, with
// type, time, source, identifier and text, and the whole of the selected
// record below the list.
#include <string>
#include <vector>

#include "Dialog.h"
#include "EventRecord.h"
#include "EventStore.h"

namespace vorlan::eventlog {

class EventViewerDialog : public CDialog {
public:
    // The records of log; file, when not empty, reads another store, whose
    // texts come from the message files of log's sources.
    explicit EventViewerDialog(std::string log, std::string file = {});

    // Reads the store again and refills the list (also the Refresh button).
    void Refresh();

    struct Row {
        EventRecord record;
        std::string time;
        std::string text;
    };
    // The rows as listed, newest first.
    const std::vector<Row>& Rows() const { return rows_; }

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    LRESULT OnNotify(NMHDR* header) override;
    void OnSize(UINT kind, int width, int height) override;

private:
    void ShowDetail(int row);

    std::string log_;
    EventStore store_;
    std::vector<Row> rows_;
};

// The record's time in local time, as "2026-12-09 14:05:33".
std::string FormatEventTime(uint64_t fileTime);

}  // namespace vorlan::eventlog
