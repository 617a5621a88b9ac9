// The device shows no bubbles here: each one is recorded in the device's
// journal, with every field of its record, and reported as shown.
#include <cstdio>
#include <string>

#include "Aygshell.h"
#include "DeviceControl.h"
#include "Journal.h"
#include "Profile.h"

using namespace vorlan::device;

namespace {

std::string Utf8(LPCWSTR text) {
    return text ? Utf16ToUtf8(reinterpret_cast<const char16_t*>(text)) : std::string();
}

std::string Hex(uint64_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(value));
    return text;
}

std::string ClsidText(const CLSID& id) {
    char text[40];
    std::snprintf(text, sizeof text, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned long>(id.Data1), id.Data2, id.Data3, id.Data4[0], id.Data4[1], id.Data4[2],
                  id.Data4[3], id.Data4[4], id.Data4[5], id.Data4[6], id.Data4[7]);
    return text;
}

LRESULT Record(const char* kind, std::vector<std::pair<std::string, std::string>> fields) {
    std::string line = FormatJournalLine(kind, fields);
    return DeviceJournal(line.data(), static_cast<DWORD>(line.size())) ? S_OK : E_FAIL;
}

std::vector<std::pair<std::string, std::string>> Fields(const SHNOTIFICATIONDATA& n) {
    return {
        {"cbStruct", std::to_string(n.cbStruct)},
        {"dwID", Hex(n.dwID)},
        {"npPriority", Hex(static_cast<uint32_t>(n.npPriority))},
        {"csDuration", std::to_string(n.csDuration)},
        {"hicon", Hex(reinterpret_cast<uintptr_t>(n.hicon))},
        {"grfFlags", std::to_string(n.grfFlags)},
        {"clsid", ClsidText(n.clsid)},
        {"hwndSink", Hex(reinterpret_cast<uintptr_t>(n.hwndSink))},
        {"html", Utf8(n.pszHTML)},
        {"title", Utf8(n.pszTitle)},
        {"lParam", Hex(static_cast<uint64_t>(n.lParam))},
    };
}

}  // namespace

AYGSHELL_API LRESULT WINAPI SHNotificationAdd(SHNOTIFICATIONDATA* n) {
    if (!n || n->cbStruct != sizeof *n) return E_INVALIDARG;
    return Record("notification", Fields(*n));
}

AYGSHELL_API LRESULT WINAPI SHNotificationUpdate(DWORD mask, SHNOTIFICATIONDATA* n) {
    if (!n || n->cbStruct != sizeof *n) return E_INVALIDARG;
    auto fields = Fields(*n);
    fields.emplace_back("mask", std::to_string(mask));
    return Record("notification-update", std::move(fields));
}

AYGSHELL_API LRESULT WINAPI SHNotificationRemove(const CLSID* clsid, DWORD id) {
    if (!clsid) return E_INVALIDARG;
    return Record("notification-remove", {{"clsid", ClsidText(*clsid)}, {"dwID", Hex(id)}});
}
