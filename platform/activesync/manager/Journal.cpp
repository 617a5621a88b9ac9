#include "Journal.h"

#include "SharedFile.h"

namespace vorlan::activesync {

void Journal::Write(const std::vector<std::string>& fields) const {
    // A journal that cannot be written does not stop the service manager.
    if (!path_.empty()) AppendJournalLine(path_, fields);
}

}  // namespace vorlan::activesync
