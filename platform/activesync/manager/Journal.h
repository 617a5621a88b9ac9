#pragma once
// What the service manager received, one line per event (SharedFile.h), for
// tests and people to read:
//   started <process id>
//   icon add|modify|delete <owner window title> <icon id> <tip>
//   balloon <owner window title> <icon id> <time-out ms> <title> <text> <NIIF_ flags>
//   status <text of the synchronisation window's status line>
//   device connected|disconnected
//   sync begin|end
//   provider <object type> <ProgID> created|not created|disabled|store does not match ...
//   call <Interface>::<Method> <result> [details]    (ProviderSession.h)
//   notify <method> [arguments]                      (a provider's IReplNotify calls)
//   sent <object type> <bytes>                       (read from the store)
//   received <object type> <bytes>                   (from the device, into the store)
//   partner <Method> <result> [details]              (DevicePartner.h)
//   partner unreached <why>                          (no device session for the device halves)
//   partner conflict <object type> <oid> desktop wins
//   partner deleted <object type> <oid> kept|propagated
//   autostart <value name> <command line> started <pid>|failed <error>
//   state not saved <error>
//   stopped
#include <string>
#include <string_view>
#include <vector>

namespace vorlan::activesync {

class Journal {
public:
    // No journal is kept for an empty path.
    explicit Journal(std::string path) : path_(std::move(path)) {}
    void Write(const std::vector<std::string>& fields) const;

private:
    std::string path_;
};

}  // namespace vorlan::activesync
