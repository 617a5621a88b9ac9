#pragma once
// The platform's URL classification as the wizard's decisions take it.
#include <string>

#include "FileItemPages.h"

namespace vorlan::filesync {

// The kind of text, resolved against base when base is not empty;
// absolute drive and UNC paths are files.
UrlKind WizardUrlKind(const std::string& text, const std::string& base);

// The workstation folder to start a chooser in for text: the folder of the
// file it names (or, for a folder, the folder itself), relative texts taken
// against the table's URL; "" when it names none.
std::string StartFolderOf(const std::string& text, const std::string& tableUrl, bool textIsFolder);

}  // namespace vorlan::filesync
