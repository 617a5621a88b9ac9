#pragma once
// The event store keeps texts in UTF-8, whatever the code page of the
// process that wrote them; programs speak their ANSI code page.
#include <string>
#include <string_view>

namespace vorlan::eventlog {

std::string Utf8FromAnsi(std::string_view text);
std::string AnsiFromUtf8(std::string_view text);

}  // namespace vorlan::eventlog
