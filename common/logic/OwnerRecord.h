#pragma once
// The device owner's record: one binary registry value of 384 UTF-16
// characters holding five fixed slots.
#include <cstddef>

#include "Utf16.h"

namespace vorlan {

inline constexpr size_t kOwnerRecordChars = 384;

struct OwnerFields {
    String16 name, company, address, telephone, email;
};

// Each field runs from the start of its slot (characters 0, 36, 72, 258 and
// 283) to its first NUL, and never past its slot, so a record whose fields
// fill their slots to the end still reads as five separate fields.
OwnerFields ReadOwnerRecord(const Char16 (&record)[kOwnerRecordChars]);

}  // namespace vorlan
