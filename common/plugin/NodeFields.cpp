#include "NodeFields.h"

#include "Bstr.h"

namespace vorlan {

std::string GetNodeField(IInfoNode* node, const char* name) {
    com::Bstr value;
    if (FAILED(node->GetProperty(com::Bstr::FromAnsi(name).Get(), value.Put()))) return {};
    return value.Ansi();
}

HRESULT SetNodeField(IInfoNode* node, const char* name, const std::string& value) {
    return node->SetAt(com::Bstr::FromAnsi(name).Get(), com::Bstr::FromAnsi(value).Get());
}

}  // namespace vorlan
