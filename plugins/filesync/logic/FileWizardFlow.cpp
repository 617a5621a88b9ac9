#include "FileWizardFlow.h"

#include "FileItem.h"
#include "FileWizardStrings.h"

namespace vorlan::filesync {
namespace {

bool IsDeletionOrNewFolder(int index) { return (index >= 1 && index <= 3) || (index >= 8 && index <= 10); }

// A device path: there, and no URL or desktop path.
bool IsDevicePath(const std::string& text, const UrlKindOf& kindOf) {
    return !text.empty() && kindOf(text, std::string()) == UrlKind::kNone;
}

bool IsWorkstationFile(const std::string& text, const std::string& tableUrl, const UrlKindOf& kindOf) {
    return !text.empty() && kindOf(text, tableUrl) == UrlKind::kFile;
}

}  // namespace

bool HasOriginAt(int index) { return index == 0 || (index >= 4 && index <= 7) || (index >= 11 && index <= 15); }

bool UsesFolderOriginAt(int index) { return index == 4 || index == 5 || index == 11 || index == 12 || index == 15; }

bool HasOptionsPage(int index) { return index == 14 || index == 15; }

WizardPage PageAfterOperation(int index) {
    if (IsDeletionOrNewFolder(index)) return WizardPage::kDestination;
    if (UsesFolderOriginAt(index)) return WizardPage::kFolder;
    return WizardPage::kOrigin;
}

bool OriginOnDeviceAt(int index) { return OriginOnDevice(OperationOfIndex(index)); }

bool DestinationOnDeviceAt(int index) { return DestinationOnDevice(OperationOfIndex(index)); }

bool DestinationIsFolderAt(int index) {
    return index == 2 || index == 3 || index == 9 || index == 10 || UsesFolderOriginAt(index);
}

unsigned OriginLabel(int index) {
    if (index == 6 || index == 13) return IDS_ORIGIN_FILE_LABEL;
    if (index == 14) return IDS_WORKSTATION_FILE_LABEL;
    return IDS_ORIGIN_URL_LABEL;
}

unsigned FolderLabel(int index) {
    if (index == 5 || index == 12) return IDS_ORIGIN_FOLDER_LABEL;
    if (index == 14) return IDS_WORKSTATION_FILE_LABEL;
    if (index == 15) return IDS_WORKSTATION_FOLDER_LABEL;
    return IDS_ORIGIN_FOLDER_RELATIVE_LABEL;
}

unsigned DestinationLabel(int index) {
    switch (index) {
        case 1:
        case 8:
            return IDS_FILE_TO_DELETE;
        case 2:
        case 4:
        case 9:
            return IDS_FOLDER_TO_CREATE;
        case 3:
        case 10:
            return IDS_FOLDER_TO_DELETE;
        case 5:
        case 11:
        case 12:
            return IDS_DESTINATION_FOLDER_LABEL;
        case 14:
            return IDS_DEVICE_FILE_LABEL;
        case 15:
            return IDS_DEVICE_FOLDER_LABEL;
        default:
            return IDS_FILE_TO_CREATE;
    }
}

bool ShowsDownloadOptions(int index) { return index == 0 || index == 7; }

bool ShowsAttributes(int index) { return !IsDeletionOrNewFolder(index); }

DownloadOptionStates DownloadOptionsFor(UrlKind originKind) {
    DownloadOptionStates states;
    switch (originKind) {
        case UrlKind::kFtp:
            states.http = false;
            states.clearHttp = true;
            break;
        case UrlKind::kHttp:
        case UrlKind::kHttps:
            states.ftp = false;
            states.clearFtp = true;
            states.setSecure = true;
            states.secure = originKind == UrlKind::kHttps;
            break;
        case UrlKind::kFile:
            states.general = states.ftp = states.http = false;
            states.clearFtp = states.clearHttp = true;
            break;
        case UrlKind::kNone:
            break;
    }
    return states;
}

bool IsNetworkKind(UrlKind kind) { return kind == UrlKind::kFtp || kind == UrlKind::kHttp || kind == UrlKind::kHttps; }

bool PreserveAllowed(int index, UrlKind originKind) { return !(ShowsDownloadOptions(index) && IsNetworkKind(originKind)); }

OriginCompletion OriginCompletionAt(int index) {
    if (ShowsDownloadOptions(index)) return OriginCompletion::kShellDefault;
    if (index == 14) return OriginCompletion::kFileSystem;
    return OriginCompletion::kNone;
}

bool IsGoodOrigin(int index, const std::string& text, const std::string& tableUrl, const UrlKindOf& kindOf) {
    if (OriginOnDeviceAt(index)) return IsDevicePath(text, kindOf);
    if (index == 14) return IsWorkstationFile(text, tableUrl, kindOf);
    if (text.empty()) return false;
    const UrlKind kind = kindOf(text, tableUrl);
    return kind == UrlKind::kFile || IsNetworkKind(kind);
}

bool IsGoodFolderOrigin(int index, const std::string& text, const std::string& tableUrl, const UrlKindOf& kindOf) {
    return OriginOnDeviceAt(index) ? IsDevicePath(text, kindOf) : IsWorkstationFile(text, tableUrl, kindOf);
}

bool IsGoodDestination(int index, const std::string& text, const std::string& tableUrl, const UrlKindOf& kindOf) {
    return DestinationOnDeviceAt(index) ? IsDevicePath(text, kindOf) : IsWorkstationFile(text, tableUrl, kindOf);
}

}  // namespace vorlan::filesync
