#include "ListSort.h"

#include "SizeText.h"

#include <cctype>

namespace vorlan {

namespace {

int Sign(int64_t difference) { return difference < 0 ? -1 : difference > 0 ? 1 : 0; }

template <class T>
int ThreeWay(T a, T b) {
    return a < b ? -1 : b < a ? 1 : 0;
}

int CompareNoCase(std::string_view a, std::string_view b) {
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        const int ca = std::tolower(static_cast<unsigned char>(a[i]));
        const int cb = std::tolower(static_cast<unsigned char>(b[i]));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    return ThreeWay(a.size(), b.size());
}

}  // namespace

SortKey MakeSortKey(SortKind kind, std::string text, std::string name, const DateTextReader& readDate) {
    SortKey key;
    key.text = std::move(text);
    key.name = std::move(name);
    switch (kind) {
        case SortKind::Number:
            key.whole = LeadingNumber(key.text);
            break;
        case SortKind::Size:
            key.whole = SizeTextBytes(key.text);
            break;
        case SortKind::Date:
            if (readDate) key.date = readDate(key.text);
            break;
        case SortKind::Text:
            break;
    }
    return key;
}

int CompareSortKeys(SortKind kind, const SortKey& a, const SortKey& b, bool ascending, bool firstColumn) {
    int result = 0;
    switch (kind) {
        case SortKind::Text:
            result = CompareNoCase(a.text, b.text);
            break;
        case SortKind::Number:
        case SortKind::Size:
            result = ThreeWay(b.whole, a.whole);
            break;
        case SortKind::Date:
            result = a.date && b.date ? ThreeWay(*a.date, *b.date) : 0;
            break;
    }
    if (!ascending) result = -result;
    if (result == 0 && !firstColumn) {
        result = Sign(a.name.compare(b.name));
        if (!ascending) result = -result;
    }
    return result;
}

}  // namespace vorlan
