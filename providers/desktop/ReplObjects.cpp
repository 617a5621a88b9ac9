#include "ReplObjects.h"

#include <cstring>

namespace vorlan::provider {
namespace {

void PutDword(BYTE* out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out[i] = static_cast<BYTE>(value >> (8 * i));
}

uint32_t GetDword(const BYTE* in) {
    return uint32_t(in[0]) | uint32_t(in[1]) << 8 | uint32_t(in[2]) << 16 | uint32_t(in[3]) << 24;
}

}  // namespace

bool CReplObject::SetName(std::string_view text) {
    if (text.size() >= kNameSize || text.find('\0') != std::string_view::npos) return false;
    std::memset(name_, 0, sizeof name_);
    std::memcpy(name_, text.data(), text.size());
    return true;
}

CReplFolder* CReplFolder::FromHandle(HREPLFLD handle) {
    CReplObject* object = CReplObject::From(handle);
    if (!object || object->Tag() != kFolderTag) return nullptr;
    auto* folder = static_cast<CReplFolder*>(object);
    return folder->Folder() ? folder : nullptr;
}

CReplItem* CReplItem::FromHandle(HREPLITEM handle) {
    CReplObject* object = CReplObject::From(handle);
    if (!object || object->Tag() != kItemTag) return nullptr;
    return static_cast<CReplItem*>(object);
}

UINT ObjectBytes(const CReplObject& object, BYTE* out) {
    const uint32_t tag = object.Tag();
    const UINT size = tag == kFolderTag ? kFolderBytes : tag == kItemTag ? kItemBytes : 4;
    if (!out) return size;
    PutDword(out, tag);
    if (size == 4) return size;
    std::memcpy(out + 4, object.Name(), kNameSize);
    if (tag == kItemTag) {
        const FILETIME& time = static_cast<const CReplItem&>(object).Time();
        PutDword(out + 4 + kNameSize, time.dwLowDateTime);
        PutDword(out + 8 + kNameSize, time.dwHighDateTime);
    }
    return size;
}

ParsedObject ParseObjectBytes(const BYTE* bytes, UINT size) {
    ParsedObject parsed;
    if (!bytes || size < 4) return parsed;
    const uint32_t tag = GetDword(bytes);
    if (tag != kFolderTag && tag != kItemTag) {
        parsed.kind = ParsedObject::kOther;
        return parsed;
    }
    if (size < (tag == kFolderTag ? kFolderBytes : kItemBytes)) return parsed;
    const char* name = reinterpret_cast<const char*>(bytes + 4);
    const void* end = std::memchr(name, '\0', kNameSize);
    if (!end) return parsed;  // a name cut short would name something else
    parsed.name = std::string_view(name, static_cast<const char*>(end) - name);
    if (tag == kItemTag) {
        parsed.time.dwLowDateTime = GetDword(bytes + 4 + kNameSize);
        parsed.time.dwHighDateTime = GetDword(bytes + 8 + kNameSize);
    }
    parsed.kind = tag == kFolderTag ? ParsedObject::kFolder : ParsedObject::kItem;
    return parsed;
}

}  // namespace vorlan::provider
