#include "Profile.h"

#include "RegistryTree.h"

#include <charconv>
#include <functional>
#include <vector>

namespace vorlan::device {

std::map<int, std::u16string> DeviceProfile::DefaultFolders() {
    return {
        {2, u"\\Windows\\Start Menu\\Programs"}, {5, u"\\My Documents"},
        {6, u"\\Windows\\Favorites"},           {7, u"\\Windows\\StartUp"},
        {8, u"\\Windows\\Recent"},              {11, u"\\Windows\\Start Menu"},
        {16, u"\\Windows\\Desktop"},            {19, u"\\Windows\\NetHood"},
        {20, u"\\Windows\\Fonts"},              {21, u"\\Windows\\Templates"},
    };
}

std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        char32_t cp;
        size_t n;
        if (c < 0x80) { cp = c; n = 1; }
        else if ((c & 0xE0) == 0xC0) { cp = c & 0x1F; n = 2; }
        else if ((c & 0xF0) == 0xE0) { cp = c & 0x0F; n = 3; }
        else if ((c & 0xF8) == 0xF0) { cp = c & 0x07; n = 4; }
        else { out += u'\uFFFD'; ++i; continue; }
        bool ok = i + n <= text.size();
        for (size_t k = 1; ok && k < n; ++k) {
            unsigned char d = static_cast<unsigned char>(text[i + k]);
            if ((d & 0xC0) != 0x80) ok = false;
            else cp = (cp << 6) | (d & 0x3F);
        }
        static const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (!ok || cp < least[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out += u'\uFFFD';
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
        i += n;
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

bool ParseNumber(std::string_view v, uint32_t& out) {
    int base = 10;
    if (v.starts_with("0x") || v.starts_with("0X")) {
        v.remove_prefix(2);
        base = 16;
    }
    auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), out, base);
    return ec == std::errc() && end == v.data() + v.size() && !v.empty();
}

// "HKLM\\key\\name": a root, a key below it and a value name.
bool ParseSetting(std::string_view path, std::u16string value, RegistrySetting& setting) {
    size_t first = path.find('\\'), last = path.rfind('\\');
    if (first == std::string_view::npos || last == first) return false;
    std::string_view root = path.substr(0, first);
    if (root == "HKLM" || root == "HKEY_LOCAL_MACHINE")
        setting.root = kLocalMachine;
    else if (root == "HKCU" || root == "HKEY_CURRENT_USER")
        setting.root = kCurrentUser;
    else
        return false;
    setting.key = Utf8ToUtf16(path.substr(first + 1, last - first - 1));
    setting.name = Utf8ToUtf16(path.substr(last + 1));
    setting.value = std::move(value);
    return !setting.key.empty();
}

}  // namespace

bool ParseProfile(std::string_view text, DeviceProfile& p, int* badLine) {
    using Setter = std::function<bool(std::string_view)>;
    auto text16 = [](std::u16string& field) {
        return Setter([&field](std::string_view v) { field = Utf8ToUtf16(v); return true; });
    };
    auto number = [](uint32_t& field) { return Setter([&field](std::string_view v) { return ParseNumber(v, field); }); };
    auto integer = [](int& field) {
        return Setter([&field](std::string_view v) {
            uint32_t n;
            if (!ParseNumber(v, n) || n > 0x7FFFFFFF) return false;
            field = static_cast<int>(n);
            return true;
        });
    };
    const std::vector<std::pair<std::string_view, Setter>> keys = {
        {"DeviceName", text16(p.deviceName)},       {"OwnerName", text16(p.ownerName)},
        {"OwnerCompany", text16(p.ownerCompany)},   {"OwnerAddress", text16(p.ownerAddress)},
        {"OwnerTelephone", text16(p.ownerTelephone)}, {"OwnerEmail", text16(p.ownerEmail)},
        {"OsMajor", number(p.osMajor)},             {"OsMinor", number(p.osMinor)},
        {"OsBuild", number(p.osBuild)},             {"PlatformId", number(p.platformId)},
        {"CsdVersion", text16(p.csdVersion)},       {"ProcessorType", number(p.processorType)},
        {"ProcessorArchitecture", number(p.processorArchitecture)},
        {"ProcessorCount", number(p.processorCount)}, {"PageSize", number(p.pageSize)},
        {"ProcessorLevel", number(p.processorLevel)}, {"ProcessorRevision", number(p.processorRevision)},
        {"TotalPhys", number(p.totalPhys)},         {"AvailPhys", number(p.availPhys)},
        {"MemoryLoad", number(p.memoryLoad)},       {"TotalPageFile", number(p.totalPageFile)},
        {"AvailPageFile", number(p.availPageFile)}, {"TotalVirtual", number(p.totalVirtual)},
        {"AvailVirtual", number(p.availVirtual)},   {"StoreSize", number(p.storeSize)},
        {"FreeSize", number(p.freeSize)},           {"TempPath", text16(p.tempPath)},
        {"ScreenWidth", integer(p.screenWidth)},    {"ScreenHeight", integer(p.screenHeight)},
    };
    int lineNo = 0;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = Trim(text.substr(start, end - start));
        start = end + 1;
        ++lineNo;
        if (lineNo == 1 && line.starts_with("\xEF\xBB\xBF")) line.remove_prefix(3);
        if (line.empty() || line.front() == '#') continue;
        size_t eq = line.find('=');
        bool ok = eq != std::string_view::npos;
        if (ok) {
            std::string_view key = Trim(line.substr(0, eq)), value = Trim(line.substr(eq + 1));
            ok = false;
            if (key == "Directory") {
                ok = !value.empty();
                if (ok) p.directories.push_back(Utf8ToUtf16(value));
            } else if (key.starts_with("Registry.")) {
                RegistrySetting setting;
                ok = ParseSetting(key.substr(9), Utf8ToUtf16(value), setting);
                if (ok) p.registry.push_back(std::move(setting));
            } else if (key.starts_with("Folder.")) {
                uint32_t csidl;
                if (ParseNumber(key.substr(7), csidl) && csidl < 0x100) {
                    if (value.empty()) p.folders.erase(static_cast<int>(csidl));
                    else p.folders[static_cast<int>(csidl)] = Utf8ToUtf16(value);
                    ok = true;
                }
            } else {
                for (const auto& [name, set] : keys)
                    if (name == key) ok = set(value);
            }
        }
        if (!ok) {
            if (badLine) *badLine = lineNo;
            return false;
        }
    }
    return true;
}

}  // namespace vorlan::device
