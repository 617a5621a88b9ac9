#include "RegistryTree.h"

#include <algorithm>

#include "DevicePath.h"
#include "Wire.h"

namespace vorlan::device {

namespace {

constexpr uint32_t kFileNotFound = 2;
constexpr uint32_t kAccessDenied = 5;
constexpr uint32_t kInvalidParameter = 87;
constexpr uint32_t kNoMoreItems = 259;
constexpr uint32_t kKeyDeleted = 1018;
constexpr uint32_t kHiveMagic = 0x56485256;  // "VRHV"
constexpr uint32_t kHiveVersion = 1;
constexpr size_t kMaxKeyName = 255;
constexpr int kMaxDepth = 512;

bool SameName(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() && PathKey(a) == PathKey(b);
}

std::u16string Join(std::u16string_view base, const std::vector<std::u16string_view>& parts) {
    std::u16string path(base);
    for (auto part : parts) {
        if (!path.empty()) path += u'\\';
        path += part;
    }
    return path;
}

void WriteKey(WireWriter& w, const RegKey& key) {
    w.Text(std::u16string_view(key.name));
    w.Text(std::u16string_view(key.className));
    w.U64(key.lastWrite);
    w.U32(static_cast<uint32_t>(key.values.size()));
    for (const auto& v : key.values) {
        w.Text(std::u16string_view(v.name));
        w.U32(v.type);
        w.Bytes(v.data.data(), v.data.size());
    }
    w.U32(static_cast<uint32_t>(key.children.size()));
    for (const auto& child : key.children) WriteKey(w, *child);
}

bool ReadKey(WireReader& r, RegKey& key, int depth) {
    if (depth > kMaxDepth) return false;
    key.name = r.Text();
    key.className = r.Text();
    key.lastWrite = r.U64();
    uint32_t values = r.U32();
    if (values > r.Remaining()) return false;
    for (uint32_t i = 0; i < values && r.Ok(); ++i) {
        RegValue v;
        v.name = r.Text();
        v.type = r.U32();
        auto data = r.Bytes();
        v.data.assign(data.begin(), data.end());
        key.values.push_back(std::move(v));
    }
    uint32_t children = r.U32();
    if (children > r.Remaining()) return false;
    for (uint32_t i = 0; i < children && r.Ok(); ++i) {
        auto child = std::make_unique<RegKey>();
        if (!ReadKey(r, *child, depth + 1)) return false;
        key.children.push_back(std::move(child));
    }
    return r.Ok();
}

}  // namespace

bool SplitKeyPath(std::u16string_view path, std::vector<std::u16string_view>& parts) {
    parts.clear();
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find(u'\\', start);
        if (end == std::u16string_view::npos) end = path.size();
        auto part = path.substr(start, end - start);
        if (part.size() > kMaxKeyName) return false;
        if (!part.empty()) parts.push_back(part);
        start = end + 1;
    }
    return true;
}

RegKey* RegKey::Child(std::u16string_view childName) const {
    for (const auto& child : children)
        if (SameName(child->name, childName)) return child.get();
    return nullptr;
}

RegValue* RegKey::Value(std::u16string_view valueName) {
    for (auto& v : values)
        if (SameName(v.name, valueName)) return &v;
    return nullptr;
}

RegistryTree::RegistryTree() {
    for (auto& root : roots_) root = std::make_unique<RegKey>();
}

const RegKey* RegistryTree::Find(const KeyRef& key) const {
    return const_cast<RegistryTree*>(this)->FindMutable(key);
}

RegKey* RegistryTree::FindMutable(const KeyRef& key) {
    if (key.root >= kRootCount) return nullptr;
    std::vector<std::u16string_view> parts;
    if (!SplitKeyPath(key.path, parts)) return nullptr;
    RegKey* node = roots_[key.root].get();
    for (auto part : parts) {
        node = node->Child(part);
        if (!node) return nullptr;
    }
    return node;
}

uint32_t RegistryTree::Open(const KeyRef& base, std::u16string_view subKey, KeyRef& out) const {
    const RegKey* node = Find(base);
    if (!node) return base.root >= kRootCount ? kInvalidParameter : kKeyDeleted;
    std::vector<std::u16string_view> parts;
    if (!SplitKeyPath(subKey, parts)) return kInvalidParameter;
    for (auto part : parts) {
        node = node->Child(part);
        if (!node) return kFileNotFound;
    }
    out.root = base.root;
    out.path = Join(base.path, parts);
    return 0;
}

uint32_t RegistryTree::Create(const KeyRef& base, std::u16string_view subKey, std::u16string_view className,
                              uint64_t now, KeyRef& out, bool& created) {
    created = false;
    RegKey* node = FindMutable(base);
    if (!node) return base.root >= kRootCount ? kInvalidParameter : kKeyDeleted;
    std::vector<std::u16string_view> parts;
    if (!SplitKeyPath(subKey, parts)) return kInvalidParameter;
    for (auto part : parts) {
        RegKey* next = node->Child(part);
        if (!next) {
            auto child = std::make_unique<RegKey>();
            child->name = part;
            child->lastWrite = now;
            next = child.get();
            node->children.push_back(std::move(child));
            created = true;
        }
        node = next;
    }
    if (created) node->className = className;
    out.root = base.root;
    out.path = Join(base.path, parts);
    return 0;
}

uint32_t RegistryTree::DeleteKey(const KeyRef& base, std::u16string_view subKey) {
    KeyRef target;
    if (uint32_t error = Open(base, subKey, target)) return error;
    std::vector<std::u16string_view> parts;
    SplitKeyPath(target.path, parts);
    if (parts.empty()) return kAccessDenied;
    KeyRef parentRef{target.root, Join(u"", {parts.begin(), parts.end() - 1})};
    RegKey* parent = FindMutable(parentRef);
    auto& children = parent->children;
    auto it = std::find_if(children.begin(), children.end(),
                           [&](const auto& c) { return SameName(c->name, parts.back()); });
    children.erase(it);
    return 0;
}

uint32_t RegistryTree::SetValue(const KeyRef& key, std::u16string_view name, uint32_t type, const uint8_t* data,
                                size_t size, uint64_t now) {
    RegKey* node = FindMutable(key);
    if (!node) return kKeyDeleted;
    if (name.size() > kMaxKeyName) return kInvalidParameter;
    RegValue* value = node->Value(name);
    if (!value) {
        node->values.push_back(RegValue{std::u16string(name), 0, {}});
        value = &node->values.back();
    }
    value->type = type;
    value->data.assign(data, data + size);
    node->lastWrite = now;
    return 0;
}

uint32_t RegistryTree::DeleteValue(const KeyRef& key, std::u16string_view name) {
    RegKey* node = FindMutable(key);
    if (!node) return kKeyDeleted;
    auto it = std::find_if(node->values.begin(), node->values.end(),
                           [&](const RegValue& v) { return SameName(v.name, name); });
    if (it == node->values.end()) return kFileNotFound;
    node->values.erase(it);
    return 0;
}

uint32_t RegistryTree::QueryValue(const KeyRef& key, std::u16string_view name, const RegValue*& value) const {
    RegKey* node = const_cast<RegistryTree*>(this)->FindMutable(key);
    if (!node) return kKeyDeleted;
    value = node->Value(name);
    return value ? 0 : kFileNotFound;
}

uint32_t RegistryTree::EnumKey(const KeyRef& key, uint32_t index, const RegKey*& child) const {
    const RegKey* node = Find(key);
    if (!node) return kKeyDeleted;
    if (index >= node->children.size()) return kNoMoreItems;
    child = node->children[index].get();
    return 0;
}

uint32_t RegistryTree::EnumValue(const KeyRef& key, uint32_t index, const RegValue*& value) const {
    const RegKey* node = Find(key);
    if (!node) return kKeyDeleted;
    if (index >= node->values.size()) return kNoMoreItems;
    value = &node->values[index];
    return 0;
}

uint32_t RegistryTree::QueryInfo(const KeyRef& key, KeyInfo& info) const {
    const RegKey* node = Find(key);
    if (!node) return kKeyDeleted;
    info = KeyInfo{};
    info.className = node->className;
    info.subKeys = static_cast<uint32_t>(node->children.size());
    info.values = static_cast<uint32_t>(node->values.size());
    info.lastWrite = node->lastWrite;
    for (const auto& c : node->children) {
        info.maxSubKeyLen = std::max(info.maxSubKeyLen, static_cast<uint32_t>(c->name.size()));
        info.maxClassLen = std::max(info.maxClassLen, static_cast<uint32_t>(c->className.size()));
    }
    for (const auto& v : node->values) {
        info.maxValueNameLen = std::max(info.maxValueNameLen, static_cast<uint32_t>(v.name.size()));
        info.maxValueLen = std::max(info.maxValueLen, static_cast<uint32_t>(v.data.size()));
    }
    return 0;
}

std::vector<uint8_t> RegistryTree::Serialize() const {
    WireWriter w;
    w.U32(kHiveMagic);
    w.U32(kHiveVersion);
    for (const auto& root : roots_) WriteKey(w, *root);
    return std::move(w.Buffer());
}

bool RegistryTree::Deserialize(const std::vector<uint8_t>& bytes) {
    WireReader r(bytes);
    if (r.U32() != kHiveMagic || r.U32() != kHiveVersion) return false;
    std::unique_ptr<RegKey> roots[kRootCount];
    for (auto& root : roots) {
        root = std::make_unique<RegKey>();
        if (!ReadKey(r, *root, 0)) return false;
    }
    if (!r.Done()) return false;
    for (uint32_t i = 0; i < kRootCount; ++i) roots_[i] = std::move(roots[i]);
    return true;
}

}  // namespace vorlan::device
