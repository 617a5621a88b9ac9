#include "FindRecord.h"

#include <cstring>
#include <cwchar>
#include <string>

#include "ExactAnsi.h"

namespace vorlan {

bool AnsiFindRecord(const CE_FIND_DATA& in, WIN32_FIND_DATAA& out, DWORD* error) {
    std::string name;
    if (!ExactAnsiFromWide(std::wstring_view(in.cFileName, wcsnlen(in.cFileName, MAX_PATH)), name)) {
        *error = ERROR_NO_UNICODE_TRANSLATION;
        return false;
    }
    if (name.size() >= sizeof out.cFileName) {
        *error = ERROR_FILENAME_EXCED_RANGE;
        return false;
    }
    out = {};
    out.dwFileAttributes = in.dwFileAttributes;
    out.ftCreationTime = in.ftCreationTime;
    out.ftLastAccessTime = in.ftLastAccessTime;
    out.ftLastWriteTime = in.ftLastWriteTime;
    out.nFileSizeHigh = in.nFileSizeHigh;
    out.nFileSizeLow = in.nFileSizeLow;
    std::memcpy(out.cFileName, name.c_str(), name.size() + 1);
    return true;
}

}  // namespace vorlan
