#include "XmlText.h"

namespace vorlan {

bool IsXmlText(String16View text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned c = text[i];
        if (c == 0x9 || c == 0xA || c == 0xD) continue;
        if (c < 0x20 || c == 0xFFFE || c == 0xFFFF) return false;
        if (c >= 0xDC00 && c <= 0xDFFF) return false;  // a second half with no first
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 == text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) return false;
            ++i;
        }
    }
    return true;
}

}  // namespace vorlan
