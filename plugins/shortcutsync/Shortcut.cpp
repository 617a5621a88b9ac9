#include "Shortcut.h"

#include "Bstr.h"
#include "CeFolders.h"
#include "CeRapi.h"
#include "NodeFields.h"
#include "ShortcutItem.h"
#include "VorlanMessages.h"
#include "quorran.h"

namespace vorlan::shortcutsync {
namespace {

constexpr DWORD kPathBytes = 260;
// The event of an incomplete item shares its identifier with the download's.
constexpr DWORD kIncompleteItem = EVT_DOWNLOAD_BUSY;

bool TranslateFolders(const std::string& text, std::wstring& out) {
    char buffer[kPathBytes] = {};
    const int needed = ExpandCeFolderVariables(text.c_str(), buffer, sizeof buffer);
    if (needed <= 0 || needed > static_cast<int>(sizeof buffer) || !buffer[0]) return false;
    out = com::WideFromAnsi(buffer);
    return true;
}

}  // namespace

HRESULT CShortcut::Init() {
    InitErrorReport(CLSID_Vorlan);
    const HRESULT hr = session_.Open(kDeviceWaitMs);
    if (FAILED(hr)) return Fail(EVT_DEVICE_NOT_CONNECTED, {}, hr);
    return S_OK;
}

HRESULT CShortcut::PerformTransfer(IInfoNode* item) {
    if (!item) return Fail(EVT_ITEM_UNUSABLE, {}, E_INVALIDARG);
    const std::string name = GetNodeField(item, "DisplayName"), destination = GetNodeField(item, "Destination"),
                      target = GetNodeField(item, "Target");
    for (const auto& [field, text] : {std::pair{"DisplayName", &name}, std::pair{"Destination", &destination},
                                      std::pair{"Target", &target}})
        if (text->empty()) return Fail(kIncompleteItem, field, E_INVALIDARG);
    return CreateShortcut(ShortcutPath(destination, name), QuotedTarget(target));
}

HRESULT CShortcut::CreateShortcut(const std::string& shortcut, const std::string& target) {
    if (target.empty() || shortcut.empty()) return Fail(kIncompleteItem, {}, E_INVALIDARG);
    std::wstring wideShortcut, wideTarget;
    if (!TranslateFolders(shortcut, wideShortcut) || !TranslateFolders(target, wideTarget))
        return Fail(EVT_SHORTCUT_NOT_CREATED, shortcut, E_FAIL);
    if (!CeSHCreateShortcut(wideShortcut.data(), wideTarget.data())) {
        const DWORD error = CeGetLastError();
        return Fail(EVT_SHORTCUT_NOT_CREATED, shortcut, error ? HRESULT_FROM_WIN32(error) : E_FAIL);
    }
    return S_OK;
}

}  // namespace vorlan::shortcutsync
