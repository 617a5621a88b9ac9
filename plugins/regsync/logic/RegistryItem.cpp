#include "RegistryItem.h"

#include "StringTokenizer2.h"

namespace vorlan::regsync {
namespace {

// In lookup order.
constexpr Keyword kKeywords[] = {
    {"REG_SZ", kSetString},
    {"REG_DWORD", kSetDword},
    {"REG_DWORD_LITTLE_ENDIAN", kSetDword},
    {"REG_BINARY", kSetBinary},
    {"REG_EXPAND_SZ", kSetExpandString},
    {"REG_MULTI_SZ", kSetMultiString},
    {"QV_REG_DELETE_KEY", kDeleteKey},
    {"QV_REG_DELETE_VALUE", kDeleteValue},
    {"LOCAL_REG_SZ", kLocalSetString},
    {"LOCAL_REG_DWORD", kLocalSetDword},
    {"LOCAL_REG_DWORD_LITTLE_ENDIAN", kLocalSetDword},
    {"LOCAL_REG_BINARY", kLocalSetBinary},
    {"LOCAL_REG_EXPAND_SZ", kLocalSetExpandString},
    {"LOCAL_REG_MULTI_SZ", kLocalSetMultiString},
    {"QV_LOCAL_REG_DELETE_KEY", kLocalDeleteKey},
    {"QV_LOCAL_REG_DELETE_VALUE", kLocalDeleteValue},
};

constexpr uint32_t kRegSz = 1, kRegExpandSz = 2, kRegBinary = 3, kRegDword = 4, kRegMultiSz = 7;
constexpr size_t kMaxKeyNameChars = 255;
constexpr size_t kMaxDeviceValueNameChars = 255;
constexpr size_t kMaxWorkstationValueNameChars = 16383;

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool IsBinarySeparator(char c) { return c == ' ' || c == ',' || c == '\t' || c == '\r' || c == '\n'; }

void AppendTerminatedString(std::string& data, String16View text) {
    data += Utf16LeBytes(text);
    data.append(2, '\0');
}

}  // namespace

uint32_t GetOperationCode(std::string_view type) {
    if (type.empty()) return kSetString;
    return LookupKeywordTable(type, kKeywords, false);
}

Operation DescribeOperation(uint32_t code) {
    switch (code) {
        case kSetExpandString: return {Action::SetValue, kRegExpandSz, true};
        case kSetBinary: return {Action::SetValue, kRegBinary, true};
        case kSetDword: return {Action::SetValue, kRegDword, true};
        case kSetMultiString: return {Action::SetValue, kRegMultiSz, true};
        case kDeleteKey: return {Action::DeleteKey, 0, true};
        case kDeleteValue: return {Action::DeleteValue, 0, true};
        case kLocalSetString: return {Action::SetValue, kRegSz, false};
        case kLocalSetDword: return {Action::SetValue, kRegDword, false};
        case kLocalSetBinary: return {Action::SetValue, kRegBinary, false};
        case kLocalSetExpandString: return {Action::SetValue, kRegExpandSz, false};
        case kLocalSetMultiString: return {Action::SetValue, kRegMultiSz, false};
        case kLocalDeleteKey: return {Action::DeleteKey, 0, false};
        case kLocalDeleteValue: return {Action::DeleteValue, 0, false};
        default: return {Action::SetValue, kRegSz, true};
    }
}

uint32_t ParseDwordText(std::string_view text) {
    size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || (text[at] >= '\t' && text[at] <= '\r'))) ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
    // Unsigned arithmetic wraps, which keeps exactly the low 32 bits.
    uint32_t value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at)
        value = value * 10u + static_cast<uint32_t>(text[at] - '0');
    return negative ? 0u - value : value;
}

bool ParseBinaryText(std::string_view text, std::string& out) {
    std::string bytes;
    size_t at = 0;
    while (at < text.size()) {
        if (IsBinarySeparator(text[at])) {
            ++at;
            continue;
        }
        if (bytes.size() == kMaxBinaryBytes) return false;
        unsigned value = 0;
        bool leading = true;
        for (; at < text.size() && !IsBinarySeparator(text[at]); ++at) {
            const int digit = HexDigit(text[at]);
            if (digit < 0) leading = false;
            if (leading) value = ((value << 4) | static_cast<unsigned>(digit)) & 0xFFu;
        }
        bytes.push_back(static_cast<char>(value));
    }
    out = std::move(bytes);
    return true;
}

std::string StringValueData(String16View text) {
    std::string data;
    AppendTerminatedString(data, text);
    return data;
}

std::string MultiStringValueData(String16View text) {
    std::string data;
    size_t from = 0;
    while (from <= text.size()) {
        size_t end = text.find(static_cast<Char16>(kMultiStringSeparator), from);
        if (end == String16View::npos) end = text.size();
        // An empty string would end the list early.
        if (end > from) AppendTerminatedString(data, text.substr(from, end - from));
        from = end + 1;
    }
    data.append(2, '\0');
    return data;
}

std::optional<String16> KeyToDelete(String16View subKey, String16View valueName) {
    String16 key(subKey);
    if (!key.empty() && !valueName.empty()) key += VORLAN_U16("\\");
    key += valueName;
    if (!key.empty() && key.back() == static_cast<Char16>('\\')) key.pop_back();
    if (key.empty()) return std::nullopt;
    return key;
}

bool NamesFit(String16View subKey, String16View valueName, bool onDevice) {
    size_t from = 0;
    while (from <= subKey.size()) {
        size_t end = subKey.find(static_cast<Char16>('\\'), from);
        if (end == String16View::npos) end = subKey.size();
        if (end - from > kMaxKeyNameChars) return false;
        from = end + 1;
    }
    return valueName.size() <= (onDevice ? kMaxDeviceValueNameChars : kMaxWorkstationValueNameChars);
}

int DialogIndexOf(uint32_t code) {
    switch (code) {
        case kSetBinary:
        case kLocalSetBinary: return 0;
        case kSetDword:
        case kLocalSetDword: return 1;
        case kSetExpandString:
        case kLocalSetExpandString: return 3;
        case kDeleteKey:
        case kLocalDeleteKey: return kDialogDeleteKey;
        case kDeleteValue:
        case kLocalDeleteValue: return kDialogDeleteValue;
        case kSetMultiString:
        case kLocalSetMultiString: return 6;
        default: return 2;
    }
}

bool IsLocal(uint32_t code) { return !DescribeOperation(code).onDevice; }

std::string DialogTypeText(std::string_view chosen, bool local) {
    if (!local) return std::string(chosen);
    if (chosen.substr(0, 3) == "REG") return "LOCAL_" + std::string(chosen);
    return "QV_LOCAL" + std::string(chosen.size() > 2 ? chosen.substr(2) : std::string_view{});
}

}  // namespace vorlan::regsync
