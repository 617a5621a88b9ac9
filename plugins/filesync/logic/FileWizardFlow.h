#pragma once
// The file item wizard's decisions by operation choice (0..15, the order of
// its list) and origin kind: which pages follow, what their labels say,
// which options they offer, and which texts they accept. A text's side
// follows the operation: a device-side text is good when it is not empty
// and no URL; a workstation-side text is judged against the table's URL.
#include <string>

#include "FileItemPages.h"

namespace vorlan::filesync {

enum class WizardPage { kOperation, kOrigin, kFolder, kDestination, kOptions };

bool HasOriginAt(int index);
// The folder page gives the origin (and the filters) of these choices.
bool UsesFolderOriginAt(int index);
// The two-way choices, which end on the options page.
bool HasOptionsPage(int index);
WizardPage PageAfterOperation(int index);

bool OriginOnDeviceAt(int index);
bool DestinationOnDeviceAt(int index);
// Folders (not files) are what the destination names.
bool DestinationIsFolderAt(int index);

// The string resources of the labels over the texts.
unsigned OriginLabel(int index);
unsigned FolderLabel(int index);
unsigned DestinationLabel(int index);

// Only a file copied from a URL offers the download options.
bool ShowsDownloadOptions(int index);
// Deletions and empty folders have no file attributes.
bool ShowsAttributes(int index);

// Which download options the origin's kind offers. cleared options are
// unchecked; secure, when set, is what "Secure HTTP" becomes.
struct DownloadOptionStates {
    bool general = true;  // ASCII or binary, the two cache choices
    bool ftp = true;      // passive, reuse the connection
    bool http = true;     // secure
    bool clearFtp = false;
    bool clearHttp = false;
    bool setSecure = false;
    bool secure = false;
};
DownloadOptionStates DownloadOptionsFor(UrlKind originKind);

bool IsNetworkKind(UrlKind kind);
// "Preserve original file attributes" means nothing for a download.
bool PreserveAllowed(int index, UrlKind originKind);

enum class OriginCompletion { kNone, kShellDefault, kFileSystem };
OriginCompletion OriginCompletionAt(int index);

// Whether the pages may be left with these texts.
bool IsGoodOrigin(int index, const std::string& text, const std::string& tableUrl, const UrlKindOf& kindOf);
bool IsGoodFolderOrigin(int index, const std::string& text, const std::string& tableUrl, const UrlKindOf& kindOf);
bool IsGoodDestination(int index, const std::string& text, const std::string& tableUrl, const UrlKindOf& kindOf);

}  // namespace vorlan::filesync
