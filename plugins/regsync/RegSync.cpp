#include "RegSync.h"

#include <cstring>

#include "Bstr.h"
#include "NodeFields.h"
#include "RegistryByPath.h"
#include "RegistryItem.h"
#include "SideRegistry.h"
#include "VorlanMessages.h"
#include "tolvane.h"

namespace vorlan::regsync {
namespace {

// The data a value text stands for; false when it cannot be written.
bool ValueData(DWORD type, const std::string& text, std::string& data) {
    switch (type) {
        case REG_DWORD: {
            const uint32_t number = ParseDwordText(text);
            data.assign(sizeof number, '\0');
            std::memcpy(data.data(), &number, sizeof number);
            return true;
        }
        case REG_BINARY: return ParseBinaryText(text, data);
        case REG_MULTI_SZ: data = MultiStringValueData(com::WideFromAnsi(text)); return true;
        default: data = StringValueData(com::WideFromAnsi(text)); return true;
    }
}

}  // namespace

HRESULT CRegSync::Init() {
    InitErrorReport(CLSID_Vorlan);
    const HRESULT hr = session_.Open(kDeviceWaitMs);
    if (FAILED(hr)) return Fail(EVT_DEVICE_NOT_CONNECTED, {}, hr);
    return S_OK;
}

HRESULT CRegSync::PerformTransfer(IInfoNode* item) {
    if (!item) return Fail(EVT_ITEM_UNUSABLE, {}, E_INVALIDARG);
    return ApplyRegistryItem(GetNodeField(item, "Key"), GetNodeField(item, "Value"), GetNodeField(item, "Type"));
}

HRESULT CRegSync::ApplyRegistryItem(const std::string& key, const std::string& value, const std::string& type) {
    const Operation op = DescribeOperation(GetOperationCode(type));
    if (key.empty()) return Fail(EVT_NO_REGISTRY_KEY, {}, E_INVALIDARG);

    // How each kind of operation says it failed.
    const auto failed = [&] {
        if (op.action != Action::SetValue) return Fail(EVT_REGISTRY_NOT_DELETED, key, E_FAIL);
        if (op.valueType == REG_EXPAND_SZ) return Fail(EVT_DEVICE_CALL_FAILED, {}, E_FAIL);
        return Fail(EVT_REGISTRY_VALUE_NOT_WRITTEN, key, E_FAIL);
    };

    HKEY root = nullptr;
    std::string subKey, valueName;
    if (!SplitRegistryPath(key, &root, &subKey, &valueName)) return failed();
    const std::wstring wideSubKey = com::WideFromAnsi(subKey), wideName = com::WideFromAnsi(valueName);
    if (!NamesFit(wideSubKey, wideName, op.onDevice)) return failed();

    const std::unique_ptr<CQvCERapiWrapper> table =
        sides_ ? sides_(op.onDevice) : std::make_unique<CQvCERapiWrapper>(op.onDevice);
    const CQvCERapiWrapper& side = *table;
    LONG result = ERROR_SUCCESS;
    switch (op.action) {
        case Action::SetValue: {
            std::string data;
            if (!ValueData(op.valueType, value, data)) return failed();
            result = SetValueByPath(side, key, op.valueType, reinterpret_cast<const BYTE*>(data.data()),
                                    static_cast<DWORD>(data.size()));
            break;
        }
        case Action::DeleteValue:
            // The root's own default value is no item's to delete.
            if (wideSubKey.empty() && wideName.empty()) return failed();
            result = DeleteValueByPath(side, key);
            break;
        case Action::DeleteKey: {
            const auto target = KeyToDelete(wideSubKey, wideName);
            if (!target) return failed();
            result = side.RegDeleteKey(root, target->c_str());
            break;
        }
    }
    return result == ERROR_SUCCESS ? S_OK : failed();
}

}  // namespace vorlan::regsync
