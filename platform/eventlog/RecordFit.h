#pragma once
// Fitting a record into the bounds of a store: insertion strings that would
// make it too large are cut, with a visible mark, rather than the whole
// event being lost.
#include <cstddef>
#include <string>

#include "EventRecord.h"

namespace vorlan::eventlog {

// The mark that ends a cut insertion string; count is the characters (UTF-8)
// of the whole text.
std::string CutMark(size_t count);

// Cuts the longest insertion strings, at UTF-8 character boundaries and
// each ended by CutMark, until every string is within kMaxEventStringSize
// and the encoded record within budget bytes; strings that fit are kept
// whole. False, with the record unchanged, when even cut strings cannot
// make it fit (too many strings, names or raw data too large).
bool FitEventRecord(EventRecord& record, size_t budget);

}  // namespace vorlan::eventlog
