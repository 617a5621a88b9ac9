#pragma once
// Which sections of the state file are conflicts, and the page rows that
// show them. Pure text work, apart from the window and the file.
#include <string>
#include <utility>
#include <vector>

namespace vorlan::conflicts {

// A pair left in conflict: the section's name (the desktop file) and its
// "Conflitant" value (the device file).
struct Conflict {
    std::string desktop;
    std::string device;
    bool folder = false;  // either side a folder: never copied here
};

// The value a section without "Conflitant" reads as.
inline constexpr char kNoConflict[] = "NO_CONFLICT";

// The conflicts among (section, "Conflitant") pairs, in file order:
// "NO_CONFLICT" in any case is none.
std::vector<Conflict> SelectConflicts(const std::vector<std::pair<std::string, std::string>>& sections);

// The rows for the page: for row n (from 1) a copy of the template with
// %WorkstationFile%, %DeviceFile% (escaped paths), %Note% (folderNote,
// escaped, for a folder pair; else nothing) and the element names
// %WorkstationFileX%, %DeviceFileX%, %Radio1-X%, %Radio2-X%, %Radio3-X%,
// %RadioGroupX% and %NoteX% (the note's element) put in. Each row is
// filled on its own, in one pass, so a path holding "%DeviceFile%" or
// markup stays as it is.
std::string BuildRows(const std::string& rowTemplate, const std::vector<Conflict>& conflicts,
                      const std::string& folderNote = {});

// The element ids of row n.
std::string WorkstationFileId(size_t row);
std::string DeviceFileId(size_t row);
std::string RadioId(int choice, size_t row);

}  // namespace vorlan::conflicts
