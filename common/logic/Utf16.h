#pragma once
// UTF-16 text as the device, its record files and the wire hold it. On
// Windows the code unit is wchar_t, so these are the platform's own wide
// strings; the native build uses char16_t.
#include <string>
#include <string_view>

namespace vorlan {

#if defined(_WIN32)
using Char16 = wchar_t;
#define VORLAN_U16(text) L##text
#else
using Char16 = char16_t;
#define VORLAN_U16(text) u##text
#endif
static_assert(sizeof(Char16) == 2, "UTF-16 code units are two bytes");

using String16 = std::basic_string<Char16>;
using String16View = std::basic_string_view<Char16>;

// The text as UTF-16LE bytes, without byte-order mark or terminator.
std::string Utf16LeBytes(String16View text);

// The text held in UTF-16LE bytes. An odd last byte (half a character) is
// dropped and *whole set to false; otherwise *whole is true.
String16 TextFromUtf16Le(std::string_view bytes, bool* whole = nullptr);

}  // namespace vorlan
