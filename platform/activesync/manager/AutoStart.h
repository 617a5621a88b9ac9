#pragma once
// The programs registered to start when a device connects: every string
// value under ActiveSync's AutoStartOnConnect key is a command line.
#include "Journal.h"

namespace vorlan::activesync {

// Starts each one, without waiting for it; journals
//   autostart <value name> <command line> started|failed <process id or error>
void StartAutoStartPrograms(const Journal& journal);

}  // namespace vorlan::activesync
