#include "RecordFit.h"

#include <algorithm>
#include <vector>

namespace vorlan::eventlog {
namespace {

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

size_t Characters(const std::string& text) {
    return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) { return !IsContinuation(c); }));
}

// The text cut to at most limit bytes, mark included; false when the mark
// alone does not fit.
bool CutText(std::string& text, size_t limit) {
    const std::string mark = CutMark(Characters(text));
    if (mark.size() > limit) return false;
    size_t keep = limit - mark.size();
    while (keep > 0 && IsContinuation(text[keep])) --keep;
    text.resize(keep);
    text += mark;
    return true;
}

}  // namespace

std::string CutMark(size_t count) { return "[... cut to fit the event log; " + std::to_string(count) + " characters in all]"; }

bool FitEventRecord(EventRecord& record, size_t budget) {
    // What the record takes without the bytes of its strings.
    EventRecord bare = record;
    for (std::string& s : bare.strings) s.clear();
    std::string encoded;
    if (!EncodeEventRecord(bare, encoded) || encoded.size() > budget) return false;
    const size_t room = budget - encoded.size();

    // The largest length every string may keep so that all fit in room.
    auto total = [&](size_t cap) {
        size_t sum = 0;
        for (const std::string& s : record.strings) sum += std::min(s.size(), cap);
        return sum;
    };
    size_t cap = kMaxEventStringSize;
    if (total(cap) > room) {
        size_t low = 0, high = cap - 1;
        while (low < high) {
            size_t middle = low + (high - low + 1) / 2;
            if (total(middle) <= room) low = middle;
            else high = middle - 1;
        }
        cap = low;
    }

    std::vector<std::string> strings = record.strings;
    for (std::string& s : strings)
        if (s.size() > cap && !CutText(s, cap)) return false;
    record.strings = std::move(strings);
    return true;
}

}  // namespace vorlan::eventlog
