#include "OwnerRecord.h"

namespace vorlan {

namespace {

String16 Slot(const Char16 (&record)[kOwnerRecordChars], size_t start, size_t end) {
    size_t stop = start;
    while (stop < end && record[stop] != 0) ++stop;
    return String16(record + start, record + stop);
}

}  // namespace

OwnerFields ReadOwnerRecord(const Char16 (&record)[kOwnerRecordChars]) {
    return {Slot(record, 0, 36), Slot(record, 36, 72), Slot(record, 72, 258), Slot(record, 258, 283),
            Slot(record, 283, kOwnerRecordChars)};
}

}  // namespace vorlan
