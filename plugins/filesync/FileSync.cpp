#include "FileSync.h"

#include <cstdlib>
#include <memory>

#include "Bstr.h"
#include "Crc32.h"
#include "FileCrc.h"
#include "FileUrl.h"
#include "NodeFields.h"
#include "OriginDownload.h"
#include "Url.h"
#include "VorlanMessages.h"
#include "feldane.h"

namespace vorlan::filesync {
namespace {

std::wstring Wide(const std::string& text) { return com::WideFromAnsi(text); }

bool IsRoot(const std::string& path) {
    return path == "\\" || (IsDrivePath(path) && path.size() == 3);
}

// A device origin given as a local path or file URL: the path without its
// drive ("C:\dev\a.txt" names "\dev\a.txt").
bool DevicePathOf(const std::string& origin, std::string& path) {
    if (!origin.empty() && origin[0] == '\\') {
        path = origin;
        return true;
    }
    std::string local;
    if (FAILED(UrlToLocalPath(origin.c_str(), local)) || !IsDrivePath(local)) return false;
    path = local.substr(2);
    return true;
}

bool SameSecond(const FILETIME& a, const FILETIME& b) {
    const auto seconds = [](const FILETIME& t) {
        return ((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000000ULL;
    };
    return seconds(a) == seconds(b);
}

FILETIME Now() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return now;
}

// A whole-file buffer of the dual file system, freed with it.
struct FreeBuffer {
    void operator()(char* p) const { std::free(p); }
};
using FileBuffer = std::unique_ptr<char, FreeBuffer>;

}  // namespace

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (!folder.empty() && folder.back() == '\\') return folder + name;
    return folder + "\\" + name;
}

void CFileSync::Switch(CQvDualFileSystem& fs, BOOL device) {
    if (sides_)
        fs.SetWrapper(sides_(device));
    else
        fs.SetDevice(device);
}

HRESULT CFileSync::Init() {
    InitErrorReport(CLSID_Vorlan);
    const HRESULT hr = session_.Open(kDeviceWaitMs);
    if (FAILED(hr)) return Fail(EVT_DEVICE_NOT_CONNECTED, {}, hr);
    return S_OK;
}

HRESULT CFileSync::PerformTransfer(IInfoNode* item) {
    if (!item) return Fail(EVT_ITEM_UNUSABLE, {}, E_INVALIDARG);
    const std::string destination = GetNodeField(item, "Dest");
    const std::string origin = GetNodeField(item, "OriginUrl");
    const std::string fileAttributes = GetNodeField(item, "FileAttributes");
    const std::string downloadAttributes = GetNodeField(item, "DownloadAttributes");
    return TransferItem(origin, destination, fileAttributes, downloadAttributes);
}

HRESULT CFileSync::TransferItem(const std::string& origin, const std::string& destination,
                                const std::string& fileAttributes, const std::string& downloadAttributes) {
    return Step(origin, destination, fileAttributes, downloadAttributes, false);
}

HRESULT CFileSync::ResolveItemPath(const std::string& text, BOOL onDevice, BOOL destination, std::string& out) {
    if (text.empty()) return E_FAIL;
    CQvDualFileSystem scratch;
    Switch(scratch, onDevice);
    char resolved[1024];
    const HRESULT hr = scratch.ResolvePath(ParentUrl().c_str(), text.c_str(), resolved, sizeof resolved, destination);
    if (FAILED(hr)) return hr;
    out = resolved;
    return S_OK;
}

HRESULT CFileSync::Step(std::string origin, std::string destination, const std::string& fileAttributes,
                        const std::string& downloadAttributes, bool resolved) {
    if (destination.empty()) return Fail(EVT_NO_DESTINATION, {}, E_INVALIDARG);
    const TransferAttributes item = ParseTransferAttributes(fileAttributes, downloadAttributes);
    const uint32_t op = item.operation;

    if (!resolved) {
        std::string path;
        if (!origin.empty() && SUCCEEDED(ResolveItemPath(origin, OriginOnDevice(op), FALSE, path))) origin = path;
        if (SUCCEEDED(ResolveItemPath(destination, DestinationOnDevice(op), TRUE, path))) destination = path;
        if (!DestinationOnDevice(op) && SUCCEEDED(UrlToLocalPath(destination.c_str(), path))) destination = path;
    }

    if (op >= kTwoWayFileSync && op <= kTwoWayFolderSyncSecondPass) return TwoWay(item, origin, destination);

    Switch(fs_, DestinationOnDevice(op));
    Switch(origin_, OriginOnDevice(op));
    const std::wstring target = Wide(destination);
    switch (op) {
        case kDeleteFile:
        case kLocalDeleteFile:
            if (HRESULT hr = fs_.DeleteFile(target.c_str()); FAILED(hr))
                return Fail(EVT_FILE_NOT_DELETED, destination, hr);
            return S_OK;
        case kCreateFolder:
        case kLocalCreateFolder:
            if (HRESULT hr = fs_.CreateFolderPath(target.c_str()); FAILED(hr))
                return Fail(EVT_FOLDER_NOT_CREATED, destination, hr);
            return S_OK;
        case kDeleteFolder:
        case kLocalDeleteFolder:
            if (HRESULT hr = fs_.RemoveFolder(target.c_str()); FAILED(hr))
                return Fail(EVT_FOLDER_NOT_REMOVED, destination, hr);
            return S_OK;
        default:
            if (IsFolderWalk(op)) return WalkFolder(item, origin, destination, resolved);
            return CopyOneFile(origin, destination, item.fileAttributes, item.transferFlags, OriginOnDevice(op),
                               resolved);
    }
}

HRESULT CFileSync::MakeFilter(const TransferAttributes& item, CFileSystemWildCardEvaluator& filter) {
    if (filter.SetInclusion(item.inclusion) != kFilterOk)
        return Fail(EVT_ITEM_UNUSABLE, "the inclusion filter cannot be used: " + item.inclusion, E_FAIL);
    if (filter.SetExclusion(item.exclusion) != kFilterOk)
        return Fail(EVT_ITEM_UNUSABLE, "the exclusion filter cannot be used: " + item.exclusion, E_FAIL);
    return S_OK;
}

HRESULT CFileSync::WalkFolder(const TransferAttributes& item, const std::string& origin,
                              const std::string& destination, bool resolved) {
    std::string folder = origin;
    if (!resolved && !OriginOnDevice(item.operation) && FAILED(UrlToLocalPath(origin.c_str(), folder)))
        return Fail(EVT_NOT_A_DEVICE_PATH, origin, E_INVALIDARG);

    CFileSystemWildCardEvaluator filter;
    if (HRESULT hr = MakeFilter(item, filter); FAILED(hr)) return hr;

    // A root exists already, and has no folder in it to create.
    if (!IsRoot(destination)) {
        if (HRESULT hr = fs_.CreateFolderPath(Wide(destination).c_str()); FAILED(hr))
            return Fail(EVT_FOLDER_NOT_CREATED, destination, hr);
    }

    WIN32_FIND_DATAA entry = {};
    HANDLE find = origin_.FindFirstFile(JoinPath(folder, "*.*").c_str(), &entry);
    if (!find || find == INVALID_HANDLE_VALUE) {
        if (origin_.GetLastError() == ERROR_NO_MORE_FILES) return S_OK;
        return Fail(EVT_NOT_A_URL, origin, E_INVALIDARG);
    }
    bool failed = false;
    do {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..") continue;
        if (filter.Match(name)) continue;
        const bool isFolder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (FAILED(Step(JoinPath(folder, name), JoinPath(destination, name), SubItemAttributes(item, isFolder), {},
                        true)))
            failed = true;
    } while (origin_.FindNextFile(find, &entry));
    const DWORD ended = origin_.GetLastError();
    origin_.FindClose(find);
    // A listing that broke off (a name that has no ANSI form, a link that
    // went away) has not walked the whole folder.
    if (ended != ERROR_NO_MORE_FILES) {
        Fail(EVT_NOT_A_URL, origin, E_FAIL);
        failed = true;
    }
    return failed ? E_FAIL : S_OK;
}

HRESULT CFileSync::DestinationCrc(const std::string& destination, DWORD& crc) {
    crc = 0;
    if (fs_.IsDevice()) {
        ++counts_.deviceCalls;
        return CeCalcCrc32OnDevice(destination.c_str(), &crc, 0);
    }
    return CalcFileCrc32(destination.c_str(), &crc, FALSE);
}

HRESULT CFileSync::CopyFileItem(const std::string& origin, const std::string& destination, DWORD attributes,
                                DWORD transferFlags, BOOL originOnDevice) {
    return CopyOneFile(origin, destination, attributes, transferFlags, originOnDevice, false);
}

HRESULT CFileSync::CopyOneFile(const std::string& origin, const std::string& destination, DWORD attributes,
                            DWORD transferFlags, BOOL originOnDevice, bool resolved) {
    // Device and local origins are compared by content; a remote one by
    // its time, so its destination's checksum is not asked for.
    const bool byContent = originOnDevice || resolved || GetUrlServiceType(origin.c_str()) == kUrlServiceFile;
    DWORD destinationCrc = 0;
    // A destination that cannot be read is never taken as equal to anything.
    const bool destinationKnown = byContent && SUCCEEDED(DestinationCrc(destination, destinationCrc));
    if (originOnDevice) return CopyFromDevice(origin, destination, destinationCrc, destinationKnown, attributes);
    return CopyFromWorkstation(origin, destination, destinationCrc, destinationKnown, attributes, transferFlags,
                               resolved);
}

HRESULT CFileSync::ReadFailed(HRESULT hr, const std::string& origin) {
    switch (hr) {
        case STG_E_SHAREVIOLATION: return Fail(EVT_FILE_LOCKED, origin, hr);
        case E_OUTOFMEMORY: return Fail(EVT_OUT_OF_MEMORY, {}, hr);
        default: return Fail(EVT_CANNOT_OPEN, origin, hr);
    }
}

HRESULT CFileSync::CopyFromDevice(const std::string& origin, const std::string& destination, DWORD destinationCrc,
                                  bool destinationKnown, DWORD attributes) {
    std::string path;
    if (!DevicePathOf(origin, path)) return Fail(EVT_NOT_A_DEVICE_PATH, origin, E_FAIL);
    DWORD originCrc = 0;
    ++counts_.deviceCalls;
    if (SUCCEEDED(CeCalcCrc32OnDevice(path.c_str(), &originCrc, 0)) && destinationKnown &&
        originCrc == destinationCrc) {
        ++counts_.unchanged;
        return S_OK;
    }
    FILETIME times[3] = {};  // creation, last access, last write
    char* raw = nullptr;
    DWORD originAttributes = 0, size = 0;
    const HRESULT hr =
        origin_.ReadWholeFile(Wide(path).c_str(), &times[2], &raw, &originAttributes, &size, &times[0], &times[1]);
    if (FAILED(hr)) return ReadFailed(hr, path);
    FileBuffer buffer(raw);
    const std::string bytes(raw, size);
    // The checksum call may have failed where the read did not.
    if (destinationKnown && size > 0 && Crc32(bytes) == destinationCrc) {
        ++counts_.unchanged;
        return S_OK;
    }
    return WriteDestination(destination, bytes, times, attributes ? attributes : originAttributes, true);
}

HRESULT CFileSync::CopyFromWorkstation(const std::string& origin, const std::string& destination,
                                       DWORD destinationCrc, bool destinationKnown, DWORD attributes,
                                       DWORD transferFlags, bool resolved) {
    // An entry of a walk is a local path already, whatever its name holds.
    if (!resolved && !IsUrl(origin.c_str())) return Fail(EVT_NOT_A_URL, origin, E_INVALIDARG);
    FILETIME times[3] = {};
    std::string bytes;
    DWORD originAttributes = 0;
    if (resolved || GetUrlServiceType(origin.c_str()) == kUrlServiceFile) {
        std::string path = origin;
        if (!resolved && FAILED(UrlToLocalPath(origin.c_str(), path))) return Fail(EVT_NOT_A_URL, origin, E_INVALIDARG);
        DWORD originCrc = 0;
        if (SUCCEEDED(CalcFileCrc32(path.c_str(), &originCrc, FALSE)) && destinationKnown &&
            originCrc == destinationCrc) {
            ++counts_.unchanged;
            return S_OK;
        }
        char* raw = nullptr;
        DWORD size = 0;
        const HRESULT hr = origin_.ReadWholeFile(Wide(path).c_str(), &times[2], &raw, &originAttributes, &size,
                                                 &times[0], &times[1]);
        if (FAILED(hr)) return ReadFailed(hr, path);
        FileBuffer buffer(raw);
        bytes.assign(raw, size);
    } else {
        const RemoteFileInfo remote = GetRemoteFileInfo(origin, transferFlags);
        FILETIME current;
        if (remote.hasTime && SUCCEEDED(fs_.GetLastWriteTime(Wide(destination).c_str(), &current)) &&
            SameSecond(current, remote.lastWrite)) {
            ++counts_.unchanged;
            return S_OK;
        }
        const bool ftp = GetUrlServiceType(origin.c_str()) == kUrlServiceFtp;
        const long long size = DownloadUrl(origin, bytes, transferFlags, ftp && remote.hasSize ? &remote.size : nullptr);
        switch (size) {
            case kDownloadBusy: return Fail(EVT_DOWNLOAD_BUSY, origin, E_FAIL);
            case kDownloadInterrupted: return Fail(EVT_DOWNLOAD_INTERRUPTED, origin, E_FAIL);
            case kDownloadNotAUrl: return Fail(EVT_NOT_A_URL, origin, E_FAIL);
            case kDownloadNotOpened: return Fail(EVT_CANNOT_OPEN, origin, E_FAIL);
            default: break;
        }
        // Stamped with the server's time, so an unchanged file is not
        // fetched again; with none known, with the time of the copy.
        const FILETIME stamp = remote.hasTime ? remote.lastWrite : Now();
        times[0] = times[1] = times[2] = stamp;
    }
    return WriteDestination(destination, bytes, times, attributes ? attributes : originAttributes, false);
}

HRESULT CFileSync::WriteDestination(const std::string& destination, const std::string& bytes,
                                    const FILETIME (&times)[3], DWORD attributes, bool originOnDevice) {
    if (bytes.size() > MAXDWORD) return Fail(EVT_OUT_OF_MEMORY, {}, E_OUTOFMEMORY);
    const std::wstring target = Wide(destination);
    if (!attributes) attributes = FILE_ATTRIBUTE_NORMAL;
    const HRESULT hr = fs_.WriteWholeFile(target.c_str(), bytes.data(), static_cast<DWORD>(bytes.size()), times[0],
                                          times[1], times[2], attributes);
    if (FAILED(hr)) return Fail(EVT_FILE_NOT_WRITTEN, destination, hr);
    if (verifyCopies_) {
        DWORD written = 0;
        if (FAILED(DestinationCrc(destination, written)) || written != Crc32(bytes))
            return Fail(EVT_FILE_NOT_WRITTEN, destination, E_FAIL);
    }
    ++counts_.copied;
    // A copied library that registers itself is registered where it
    // landed; what its registration thinks of itself is its own affair. A
    // file that does not begin as a module does cannot be one, so it is
    // not loaded to find out.
    if (!originOnDevice && bytes.size() >= 2 && bytes[0] == 'M' && bytes[1] == 'Z') {
        if (fs_.IsDevice()) ++counts_.deviceCalls;
        fs_.RegisterDll(target.c_str(), TRUE);
    }
    return S_OK;
}

}  // namespace vorlan::filesync
