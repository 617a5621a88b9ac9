#pragma once
// The device providers the service has loaded, one per object type, found
// by the "Store" value of the type's key under the device's objects key.
// They stay loaded for as long as the service is.
#include <string>
#include <vector>

#include "ReplDevice.h"

namespace vorlan::activesync::device {

struct ProviderLibrary {
    std::wstring type;
    HMODULE module = nullptr;
    ce::InitObjTypeFn initObjType = nullptr;
    ce::ObjectNotifyFn objectNotify = nullptr;
    ce::GetObjTypeInfoFn getObjTypeInfo = nullptr;
    ce::ReportStatusFn reportStatus = nullptr;
};

// The provider of one type, loaded when first asked for; null (with the
// reason in error) when the device has none or it cannot be loaded.
ProviderLibrary* ProviderFor(const std::wstring& type, std::string& error);
// Every provider loaded so far, in the order they were loaded.
std::vector<ProviderLibrary*> LoadedProviders();

}  // namespace vorlan::activesync::device
