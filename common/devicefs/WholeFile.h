#pragma once
// Whole-file reads and replacements through the system's wide file
// functions, for stored state that is read whole and written back whole.
#include <windows.h>

#include <string>
#include <string_view>

namespace vorlan::devicefs {

// The file's bytes. Failure: HRESULT_FROM_WIN32 of the open or read error,
// so a missing file (0x80070002, or 0x80070003 when its folder is missing)
// can be told from one that exists and cannot be read. A file missing while
// its backup (path + ".bak", see ReplaceWholeFile) is there was cut off in
// the middle of a replacement: the backup is put back and read.
HRESULT ReadWholeFile(const wchar_t* path, std::string& bytes);

// Makes bytes the file's content without ever leaving it half written: the
// bytes go to path + ".tmp" (write access, no sharing, created anew), the old
// file is moved to path + ".bak", the new one moved into place, and the old
// one deleted. Any failure (the temporary file cannot be created, a failed or
// short write, the old file cannot be moved) leaves the old content in place,
// removes the temporary file and is returned: HRESULT_FROM_WIN32 of the
// error, or STG_E_MEDIUMFULL for a short write.
HRESULT ReplaceWholeFile(const wchar_t* path, std::string_view bytes);

// Deletes the file with the backup and temporary file a replacement may have
// left beside it, the backup first, so no later read can bring the content
// back. S_OK only when none of the three is left (a file or folder that is
// not there is no error); otherwise HRESULT_FROM_WIN32 of the first failure,
// and the file itself stays when a companion could not be deleted.
HRESULT RemoveWholeFile(const wchar_t* path);

}  // namespace vorlan::devicefs
