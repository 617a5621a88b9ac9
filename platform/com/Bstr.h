#pragma once
// BSTR ownership and the ANSI conversions used at every COM boundary.
// Inside the desktop modules text is ANSI (the process's code page); it
// crosses COM as UTF-16 BSTRs. A NULL BSTR is the empty string.
#include <windows.h>
#include <ole2.h>
#include <string>
#include <string_view>
#include <utility>

namespace vorlan::com {

class Bstr {
public:
    Bstr() = default;
    explicit Bstr(std::wstring_view text);
    ~Bstr() { SysFreeString(b_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    Bstr(Bstr&& o) noexcept : b_(std::exchange(o.b_, nullptr)) {}
    Bstr& operator=(Bstr&& o) noexcept { std::swap(b_, o.b_); return *this; }

    static Bstr FromAnsi(std::string_view text);
    static Bstr Adopt(BSTR b) { Bstr r; r.b_ = b; return r; }

    BSTR Get() const { return b_; }
    BSTR Detach() { return std::exchange(b_, nullptr); }
    // For [out] parameters: frees what is held first.
    BSTR* Put() { SysFreeString(std::exchange(b_, nullptr)); return &b_; }
    UINT Length() const { return SysStringLen(b_); }
    std::string Ansi() const;
    std::wstring Wide() const { return b_ ? std::wstring(b_, SysStringLen(b_)) : std::wstring(); }

private:
    BSTR b_ = nullptr;
};

// Text of a BSTR in the ANSI code page ("" for NULL).
std::string AnsiFromBstr(BSTR b);
// A new BSTR (never NULL, so an empty text is an empty BSTR); NULL only when
// memory runs out.
BSTR AllocBstrFromAnsi(std::string_view text);

std::wstring WideFromAnsi(std::string_view text);
std::string AnsiFromWide(std::wstring_view text);

}  // namespace vorlan::com
