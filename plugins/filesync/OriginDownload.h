#pragma once
// Origins read over the network for the copy step: HTTP, HTTPS and FTP
// through WinInet, and the last-modified time that decides whether a
// download is needed at all. File URLs are read by the engine itself.
#include <windows.h>

#include <string>

namespace vorlan::filesync {

// Download results: a size of 0 or more is success.
inline constexpr long long kDownloadNotOpened = -1;   // not found, refused, not a success status
inline constexpr long long kDownloadNotAUrl = -2;     // not a URL, or a kind that is not downloaded
inline constexpr long long kDownloadInterrupted = -3; // an internet error, or a transfer cut short
inline constexpr long long kDownloadBusy = -4;        // the output already held bytes

// What the server says of a remote file before it is downloaded.
struct RemoteFileInfo {
    bool hasTime = false;
    FILETIME lastWrite = {};  // UTC, whole seconds
    bool hasSize = false;
    unsigned long long size = 0;
};

// The remote file's last-modified time and size: an HTTP HEAD answered
// with a success status (Last-Modified, else Date; Content-Length), or the
// FTP listing of its path, connecting with the URL's user and password and
// passive when the flags say so. Nothing known (an error, a missing file,
// an error status) leaves hasTime and hasSize false.
RemoteFileInfo GetRemoteFileInfo(const std::string& url, DWORD transferFlags);

// Reads an HTTP, HTTPS or FTP URL whole into bytes, which must be empty:
// the size read, or one of the codes above. An answer other than a
// success status is kDownloadNotOpened; fewer bytes than the server
// announced (its Content-Length, or expectedSize when given), or an FTP
// transfer the server closes with a failure reply, is kDownloadInterrupted. On any failure bytes is left empty.
long long DownloadUrl(const std::string& url, std::string& bytes, DWORD transferFlags,
                      const unsigned long long* expectedSize = nullptr);

}  // namespace vorlan::filesync
