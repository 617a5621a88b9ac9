#pragma once
// The device's registry: four root keys, each a tree of keys holding typed
// values. Names compare without regard to case and keep the case they were
// created with. Keys are addressed by root and path, so an open key whose
// key is deleted stops resolving instead of dangling.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vorlan::device {

enum RegistryRoot : uint32_t { kClassesRoot = 0, kCurrentUser = 1, kLocalMachine = 2, kUsers = 3, kRootCount = 4 };

struct RegValue {
    std::u16string name;
    uint32_t type = 0;
    std::vector<uint8_t> data;
};

struct RegKey {
    std::u16string name;
    std::u16string className;
    std::vector<RegValue> values;
    std::vector<std::unique_ptr<RegKey>> children;
    uint64_t lastWrite = 0;

    RegKey* Child(std::u16string_view childName) const;
    RegValue* Value(std::u16string_view valueName);
};

struct KeyRef {
    uint32_t root = kLocalMachine;
    std::u16string path;  // components joined by "\", empty for the root key
};

struct KeyInfo {
    std::u16string className;
    uint32_t subKeys = 0, maxSubKeyLen = 0, maxClassLen = 0;
    uint32_t values = 0, maxValueNameLen = 0, maxValueLen = 0;
    uint64_t lastWrite = 0;
};

class RegistryTree {
public:
    RegistryTree();

    // Error codes are Win32's: 2 missing, 87 bad argument, 1018 the key of
    // an open handle was deleted, 5 the root keys themselves cannot go.
    uint32_t Open(const KeyRef& base, std::u16string_view subKey, KeyRef& out) const;
    uint32_t Create(const KeyRef& base, std::u16string_view subKey, std::u16string_view className, uint64_t now,
                    KeyRef& out, bool& created);
    // Deletes the key with everything below it.
    uint32_t DeleteKey(const KeyRef& base, std::u16string_view subKey);
    uint32_t SetValue(const KeyRef& key, std::u16string_view name, uint32_t type, const uint8_t* data, size_t size,
                      uint64_t now);
    uint32_t DeleteValue(const KeyRef& key, std::u16string_view name);
    uint32_t QueryValue(const KeyRef& key, std::u16string_view name, const RegValue*& value) const;
    // 259 (no more items) past the last entry.
    uint32_t EnumKey(const KeyRef& key, uint32_t index, const RegKey*& child) const;
    uint32_t EnumValue(const KeyRef& key, uint32_t index, const RegValue*& value) const;
    uint32_t QueryInfo(const KeyRef& key, KeyInfo& info) const;

    std::vector<uint8_t> Serialize() const;
    // Replaces the whole tree; false (tree unchanged) when bytes are no hive.
    bool Deserialize(const std::vector<uint8_t>& bytes);

    const RegKey* Find(const KeyRef& key) const;

private:
    RegKey* FindMutable(const KeyRef& key);
    std::unique_ptr<RegKey> roots_[kRootCount];
};

// Splits a subkey text at "\"; false when a component is longer than a
// device allows (255 characters).
bool SplitKeyPath(std::u16string_view path, std::vector<std::u16string_view>& parts);

}  // namespace vorlan::device
