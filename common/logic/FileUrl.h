#pragma once
// Local paths among URLs. An absolute drive path ("C:\p\t.xml", "C:/p/t.xml")
// or UNC path ("\\server\share\t.xml") is taken wherever a URL is, as a file
// URL; a "file:" URL names a local path. The conversions here keep percent
// escapes as they are; undoing them is the caller's step (UnescapeUrl).
#include <string>
#include <string_view>

namespace vorlan {

// A letter, a colon, then a backslash or slash.
bool IsDrivePath(std::string_view text);
// Two backslashes, then a server name.
bool IsUncPath(std::string_view text);
inline bool IsAbsoluteLocalPath(std::string_view text) { return IsDrivePath(text) || IsUncPath(text); }

// A scheme ("http:", "file:", ...) of two characters or more in front, so a
// drive letter is not taken for one.
bool HasUrlScheme(std::string_view text);
// The scheme is "file" (any letter case).
bool IsFileUrl(std::string_view text);

// The local path a "file:" URL names, with backslashes:
// "file:///C:/p/t.xml" and "file://C:/p/t.xml" give "C:\p\t.xml",
// "file://server/share/t.xml" gives "\\server\share\t.xml", a host
// "localhost" is dropped, and a URL without drive or host gives a path from
// the root ("file:///p/t.xml" gives "\p\t.xml").
std::string LocalPathFromFileUrl(std::string_view url);

// The file URL of an absolute local path: "file:///C:/p/t.xml" or
// "file://server/share/t.xml", with "%", "#" and "?" escaped so that they
// stay part of the path.
std::string FileUrlFromLocalPath(std::string_view path);

}  // namespace vorlan
