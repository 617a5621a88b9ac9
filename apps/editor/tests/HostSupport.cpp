#include "HostSupport.h"

#include <utility>

#include "TestSupport.h"

namespace vorlan::editor::testing {
namespace {

constexpr char kListKey[] = "SOFTWARE\\Dravenhall\\Common\\IVorlan\\ProgId";

// Kinds the tests open: the recorder's, the file and the registry
// plug-ins' tables, an entry without a point, and the component table,
// whose description object is the core's.
const std::pair<const char*, const char*> kEntries[] = {
    {"recordersync", "Recorder.Vorlan"},
    {"filesync", "Feldane.Vorlan"},
    {"regsync", "Tolvane.Vorlan"},
    {"pointlesssync", "Tolvane"},
    {"pluginscfg", "Corvath.Vorlan"},
};

std::optional<std::string> ReadListValue(const char* name) {
    char text[512] = {};
    DWORD size = sizeof text;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, kListKey, name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::string(text);
}

void WriteListValue(const char* name, const std::optional<std::string>& value) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kListKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    if (value)
        RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value->c_str()),
                       static_cast<DWORD>(value->size() + 1));
    else
        RegDeleteValueA(key, name);
    RegCloseKey(key);
}

}  // namespace

std::string TableText(const std::string& rows, const std::string& beforeRoot) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + beforeRoot + "<root>\n" + rows + "</root>\n";
}

ScopedPluginList::ScopedPluginList() {
    for (const auto& [name, progId] : kEntries) {
        previous_.emplace_back(name, ReadListValue(name));
        WriteListValue(name, std::string(progId));
    }
}

ScopedPluginList::~ScopedPluginList() {
    for (const auto& [name, value] : previous_) WriteListValue(name.c_str(), value);
}

DialogDriver::DialogDriver(std::function<void()> drive) : drive_(std::move(drive)) {
    thread_ = CreateThread(
        nullptr, 0,
        [](void* self) -> DWORD {
            static_cast<DialogDriver*>(self)->drive_();
            return 0;
        },
        this, 0, nullptr);
}

DialogDriver::~DialogDriver() { Join(); }

void DialogDriver::Join() {
    if (!thread_) return;
    WaitForSingleObject(thread_, 30000);
    CloseHandle(thread_);
    thread_ = nullptr;
}

}  // namespace vorlan::editor::testing
