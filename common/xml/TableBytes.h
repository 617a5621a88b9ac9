#pragma once
// The bytes of a table before they are parsed. Local files are read as the
// paths they name; network tables are fetched with their answer checked and
// a time limit, so an error page is never taken for a table and a server
// that never answers cannot hold a synchronisation up.
#include <windows.h>

#include <string>
#include <vector>

namespace vorlan {

// How long a network table may take to connect and to answer each read.
inline constexpr DWORD kDefaultTableTimeLimitMs = 30000;
DWORD TableTimeLimit();
void SetTableTimeLimit(DWORD milliseconds);

// Whether ReadTableBytes reads source itself: absolute local paths, file,
// HTTP, HTTPS and FTP URLs. Other texts are left to the parser.
bool IsReadableTableSource(const std::string& source);

// The whole content of source. S_OK; S_FALSE when there is nothing to
// parse: a file that cannot be read, an HTTP answer other than 2xx, a
// transfer that breaks off or takes longer than the time limit.
HRESULT ReadTableBytes(const std::string& source, std::vector<char>& bytes);

}  // namespace vorlan
