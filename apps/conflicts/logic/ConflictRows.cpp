#include "ConflictRows.h"

#include <algorithm>
#include <cctype>

#include "HtmlEscape.h"

namespace vorlan::conflicts {
namespace {

bool IsNoConflict(const std::string& value) {
    const std::string none = kNoConflict;
    return value.size() == none.size() &&
           std::equal(value.begin(), value.end(), none.begin(), [](char a, char b) {
               return std::toupper(static_cast<unsigned char>(a)) == b;
           });
}

}  // namespace

std::vector<Conflict> SelectConflicts(const std::vector<std::pair<std::string, std::string>>& sections) {
    std::vector<Conflict> conflicts;
    for (const auto& [section, value] : sections)
        if (!IsNoConflict(value)) conflicts.push_back({section, value});
    return conflicts;
}

std::string WorkstationFileId(size_t row) { return "WorkstationFile" + std::to_string(row); }
std::string DeviceFileId(size_t row) { return "DeviceFile" + std::to_string(row); }
std::string RadioId(int choice, size_t row) { return "Radio" + std::to_string(choice) + "-" + std::to_string(row); }

std::string BuildRows(const std::string& rowTemplate, const std::vector<Conflict>& conflicts,
                      const std::string& folderNote) {
    std::string rows;
    for (size_t i = 0; i < conflicts.size(); ++i) {
        const size_t n = i + 1;
        const std::pair<const char*, std::string> fields[] = {
            {"%WorkstationFileX%", WorkstationFileId(n)},
            {"%DeviceFileX%", DeviceFileId(n)},
            {"%WorkstationFile%", EscapeHtml(conflicts[i].desktop)},
            {"%DeviceFile%", EscapeHtml(conflicts[i].device)},
            {"%Radio1-X%", RadioId(1, n)},
            {"%Radio2-X%", RadioId(2, n)},
            {"%Radio3-X%", RadioId(3, n)},
            {"%RadioGroupX%", "RadioGroup" + std::to_string(n)},
            {"%NoteX%", "Note" + std::to_string(n)},
            {"%Note%", conflicts[i].folder ? EscapeHtml(folderNote) : std::string()},
        };
        size_t at = 0;
        while (at < rowTemplate.size()) {
            bool replaced = false;
            if (rowTemplate[at] == '%') {
                for (const auto& [name, value] : fields) {
                    if (rowTemplate.compare(at, std::char_traits<char>::length(name), name) == 0) {
                        rows += value;
                        at += std::char_traits<char>::length(name);
                        replaced = true;
                        break;
                    }
                }
            }
            if (!replaced) rows += rowTemplate[at++];
        }
    }
    return rows;
}

}  // namespace vorlan::conflicts
