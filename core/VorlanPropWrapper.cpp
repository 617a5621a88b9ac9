#include "VorlanPropWrapper.h"

#include "Bstr.h"
#include "corvath.h"

namespace vorlan {
namespace {

template <class Getter>
std::string Text(IVorlanProperties* properties, Getter getter) {
    if (!properties) return {};
    BSTR text = nullptr;
    if (FAILED((properties->*getter)(&text))) return {};
    std::string ansi = com::AnsiFromBstr(text);
    SysFreeString(text);
    return ansi;
}

}  // namespace

CVorlanPropWrapper::CVorlanPropWrapper(const std::string& progId) {
    CLSID clsid;
    if (SUCCEEDED(CLSIDFromProgID(com::WideFromAnsi(progId).c_str(), &clsid)) &&
        SUCCEEDED(com::CreateInstance(clsid, properties_)))
        return;
    com::CreateInstance(CLSID_VorlanProperties, properties_);
}

std::string CVorlanPropWrapper::ProgId() const { return Text(Get(), &IVorlanProperties::get_ProgId); }
std::string CVorlanPropWrapper::ReadableName() const { return Text(Get(), &IVorlanProperties::get_ReadableName); }
std::string CVorlanPropWrapper::Description() const { return Text(Get(), &IVorlanProperties::get_Description); }
std::string CVorlanPropWrapper::TableName() const { return Text(Get(), &IVorlanProperties::get_TableName); }

}  // namespace vorlan
