#pragma once
// Event logs and their sources, registered as Windows registers them: under
// HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\EventLog a key per log
// ("Application", ...) and below it a key per source with its
// EventMessageFile (REG_EXPAND_SZ; several files separated by ";") and
// TypesSupported. A log's own key may name its store with "File"
// (REG_EXPAND_SZ) and bound it with "MaxSize" (REG_DWORD, bytes).
#include <windows.h>

#include <cstdint>
#include <string>

namespace vorlan::eventlog {

inline constexpr char kEventLogKey[] = "SYSTEM\\CurrentControlSet\\Services\\EventLog";
inline constexpr char kApplicationLog[] = "Application";
inline constexpr uint32_t kDefaultMaxLogSize = 4 * 1024 * 1024;
inline constexpr uint32_t kSmallestMaxLogSize = 64 * 1024;

// The log whose key holds the source; "Application" for a source registered
// nowhere, as the platform does.
std::string FindSourceLog(const std::string& source);

// The source's EventMessageFile, environment variables expanded; "" when the
// source or the value is absent, or the expansion does not fit.
std::string SourceMessageFile(const std::string& log, const std::string& source);

// The store of a log: its "File" value expanded, else
// "<common application data>\Dravenhall\EventLog\<log>.evl" (the folders are
// created). "" when neither can be formed.
std::string LogFilePath(const std::string& log);

// The log's "MaxSize", kDefaultMaxLogSize when absent, never below
// kSmallestMaxLogSize.
uint32_t LogMaxSize(const std::string& log);

// Writes the source's key with EventMessageFile and TypesSupported; the
// registry's result (ERROR_SUCCESS on success).
LONG RegisterSource(const std::string& log, const std::string& source, const std::string& messageFile,
                    DWORD typesSupported = 7);
LONG UnregisterSource(const std::string& log, const std::string& source);

// Names the store of a log (creating the log's key); tests point a log of
// their own into a temporary folder this way.
LONG SetLogFile(const std::string& log, const std::string& file);
LONG DeleteLog(const std::string& log);

}  // namespace vorlan::eventlog
