#include "InvokeBlocks.h"

#include <cstring>

namespace vorlan::ostrum {

namespace {

// A text field of chars characters at offset: it must end inside itself.
bool TextField(const BYTE* block, size_t offset, size_t chars, const wchar_t*& text) {
    const auto* field = reinterpret_cast<const wchar_t*>(block + offset);
    for (size_t i = 0; i < chars; ++i)
        if (field[i] == 0) {
            text = field;
            return true;
        }
    return false;
}

DWORD Word(const BYTE* block, size_t offset) {
    DWORD value;
    std::memcpy(&value, block + offset, sizeof value);
    return value;
}

}  // namespace

bool ReadCrcRequest(DWORD size, const BYTE* block, CrcRequest& out) {
    if (!block || size < kCrcRequestSize || !TextField(block, 0, devicefs::kCrcRequestPathChars, out.path)) return false;
    out.quick = Word(block, devicefs::kCrcRequestFlagOffset) != 0;
    return true;
}

bool ReadCrcRecord(DWORD size, const BYTE* block, CrcRecord& out) {
    if (!block || size < kCrcRecordSize || !TextField(block, 0, devicefs::kCrcRecordPathChars, out.path)) return false;
    out.crc = Word(block, devicefs::kCrcRecordCrcOffset);
    return true;
}

bool ReadMessageRecord(DWORD size, const BYTE* block, MessageRecord& out) {
    if (!block || size < kMessageRecordSize || !TextField(block, 0, 4096, out.text) ||
        !TextField(block, 8192, 510, out.caption))
        return false;
    out.type = Word(block, 9212);
    out.duration = Word(block, 9216);
    return true;
}

bool ReadText(DWORD size, const BYTE* block, const wchar_t*& text) {
    return block && size >= 2 && TextField(block, 0, size / 2, text);
}

HRESULT Answer(DWORD* outputSize, BYTE** output, DWORD word) {
    if (!outputSize || !output) return E_POINTER;
    auto* block = static_cast<BYTE*>(LocalAlloc(LPTR, sizeof word));
    if (!block) return E_OUTOFMEMORY;
    std::memcpy(block, &word, sizeof word);
    *output = block;
    *outputSize = sizeof word;
    return S_OK;
}

HRESULT Answer(DWORD* outputSize, BYTE** output, DWORD first, DWORD second) {
    if (!outputSize || !output) return E_POINTER;
    auto* block = static_cast<BYTE*>(LocalAlloc(LPTR, 2 * sizeof(DWORD)));
    if (!block) return E_OUTOFMEMORY;
    std::memcpy(block, &first, sizeof first);
    std::memcpy(block + 4, &second, sizeof second);
    *output = block;
    *outputSize = 2 * sizeof(DWORD);
    return S_OK;
}

}  // namespace vorlan::ostrum
