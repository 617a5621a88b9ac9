#pragma once
// The Size column of the remote file list: what it shows for an entry and
// the number of bytes a shown text stands for, so the column sorts by size.
#include <cstdint>
#include <string>
#include <string_view>

namespace vorlan {

// "n bytes" up to 1024 bytes, whole kilobytes ("1KB") below 1048577 bytes,
// whole megabytes ("1MB") from there. A folder shows "0 bytes".
std::string FileSizeText(uint64_t bytes, bool folder = false);

// The bytes a size text stands for: its leading number times 1024 when it
// ends with "KB", times 1048576 when it ends with "MB", else as it is. A
// text without a leading number stands for 0.
int64_t SizeTextBytes(std::string_view text);

// The decimal number a text begins with (after blanks, with a sign); 0 when
// there is none. Values beyond 64 bits stop at the largest.
int64_t LeadingNumber(std::string_view text);

}  // namespace vorlan
