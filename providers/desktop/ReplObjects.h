#pragma once
// The handles the store gives ActiveSync (HREPLFLD, HREPLITEM), and their
// byte form, which the service manager keeps between synchronisations:
//   folder (264 bytes): tag 1, object type name char[260]
//   item (272 bytes):   tag 2, file path char[260], last-write FILETIME
//                       (low DWORD, high DWORD)
//   other (4 bytes):    the tag
// little-endian, names zero-terminated within their 260 bytes.
#include <windows.h>

#include <cstdint>
#include <string_view>

#include "ReplStore.h"

namespace vorlan::provider {

class CBaseFolder;

inline constexpr uint32_t kFolderTag = 1;
inline constexpr uint32_t kItemTag = 2;
inline constexpr UINT kNameSize = 260;
inline constexpr UINT kFolderBytes = 4 + kNameSize;
inline constexpr UINT kItemBytes = 4 + kNameSize + 8;

class CReplObject {
public:
    virtual ~CReplObject() = default;
    uint32_t Tag() const { return tag_; }
    const char* Name() const { return name_; }
    // False, leaving the name as it was, when text does not fit.
    bool SetName(std::string_view text);

    HREPLOBJ Handle() { return reinterpret_cast<HREPLOBJ>(this); }
    static CReplObject* From(HREPLOBJ handle) { return reinterpret_cast<CReplObject*>(handle); }

protected:
    explicit CReplObject(uint32_t tag) : tag_(tag) {}
    CReplObject(const CReplObject&) = default;
    CReplObject& operator=(const CReplObject&) = default;

private:
    uint32_t tag_;
    char name_[kNameSize] = {};
};

// An object type and the folder object that keeps it.
class CReplFolder : public CReplObject {
public:
    explicit CReplFolder(CBaseFolder* folder = nullptr) : CReplObject(kFolderTag), folder_(folder) {}
    CBaseFolder* Folder() const { return folder_; }
    void CopyFrom(const CReplFolder& other) { *this = other; }
    // The folder of a handle; nullptr for a NULL handle, another kind of
    // handle, or a folder handle without a folder.
    static CReplFolder* FromHandle(HREPLFLD handle);

private:
    CBaseFolder* folder_;
};

// One file and its last-write time as last seen.
class CReplItem : public CReplObject {
public:
    CReplItem() : CReplObject(kItemTag) {}
    const FILETIME& Time() const { return time_; }
    void SetTime(const FILETIME& time) { time_ = time; }
    void CopyFrom(const CReplItem& other) { *this = other; }
    // The item of a handle; nullptr for a NULL handle or another kind.
    static CReplItem* FromHandle(HREPLITEM handle);

private:
    FILETIME time_ = {};
};

// The byte form's length, and the bytes into out unless it is null.
UINT ObjectBytes(const CReplObject& object, BYTE* out);

// What a byte form holds, checked before anything is made of it.
struct ParsedObject {
    enum Kind { kInvalid, kFolder, kItem, kOther } kind = kInvalid;
    std::string_view name;  // up to its terminator
    FILETIME time = {};
};
ParsedObject ParseObjectBytes(const BYTE* bytes, UINT size);

}  // namespace vorlan::provider
