#pragma once
// The fields of an item or row (an InfoNode) as ANSI text.
#include <string>

#include "infonode.h"

namespace vorlan {

// "" when the node has no such field or it cannot be read.
std::string GetNodeField(IInfoNode* node, const char* name);
// SetAt's result.
HRESULT SetNodeField(IInfoNode* node, const char* name, const std::string& value);

}  // namespace vorlan
