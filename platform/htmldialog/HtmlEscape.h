#pragma once
// Text made safe to place inside a page or fragment: the five characters
// XML gives meaning to become references, everything else stays.
#include <string>

namespace vorlan {

std::string EscapeHtml(const std::string& text);

}  // namespace vorlan
