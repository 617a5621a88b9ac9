#pragma once
// One spelling for every address of one table, so that a project that
// reaches a table again is seen to do so however the address was written.
#include <string>
#include <string_view>

namespace vorlan {

// The form in which two addresses of one table are equal:
// - local: an absolute path and its file URL alike, escapes of the URL
//   undone, "\" as "/", runs of separators as one, "." and ".." segments
//   resolved (never above the drive or the share), letters folded to lower
//   case as the file system does: "file:c:/p/top.xml";
// - other URLs: scheme and server in lower case, "." and ".." segments of
//   the path resolved, escapes with upper-case digits; the path's letters
//   are kept, since servers tell them apart;
// - anything else (a relative text) as it is.
std::string UrlComparisonForm(std::string_view url);

}  // namespace vorlan
