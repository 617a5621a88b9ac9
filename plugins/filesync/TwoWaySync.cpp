// Two-way items: a workstation file or folder and its device counterpart
// kept in step. Each side's status comes from its record of the last
// synchronisation (the device's record store, the desktop's state file)
// and its checksum now; the decision table turns the pair of statuses into
// an action. Nothing is deleted, copied or recorded on the strength of a
// side that could not be read, and a record is written only once both
// sides are seen to hold the same bytes.
#include "Bstr.h"
#include "FileCrc.h"
#include "FileSync.h"
#include "FileUrl.h"
#include "Url.h"
#include "VorlanMessages.h"

namespace vorlan::filesync {
namespace {

// A folder pass that found nothing more to do for its pair.
constexpr HRESULT kPairSettled = 2;

std::wstring Wide(const std::string& text) { return com::WideFromAnsi(text); }

std::string ParentOf(const std::string& path) {
    const size_t at = path.find_last_of('\\');
    if (at == std::string::npos) return {};
    if (at == 0) return "\\";
    if (at == 2 && path[1] == ':') return path.substr(0, 3);
    return path.substr(0, at);
}

CrcOutcome Outcome(HRESULT hr) {
    if (SUCCEEDED(hr)) return CrcOutcome::kComputed;
    return hr == STG_E_SHAREVIOLATION ? CrcOutcome::kShareViolation : CrcOutcome::kFailed;
}

}  // namespace

HRESULT CFileSync::DecideTwoWayAction(DWORD deviceStatus, DWORD workstationStatus, DWORD* action, DWORD options) {
    TwoWayAction decided = kNothingToDo;
    if (!action || !filesync::DecideTwoWayAction(deviceStatus, workstationStatus, options, decided)) return E_POINTER;
    *action = decided;
    return S_OK;
}

std::unique_ptr<CQvCERapiWrapper> CFileSync::Side(BOOL device) const {
    return sides_ ? sides_(device) : std::make_unique<CQvCERapiWrapper>(device);
}

HRESULT CFileSync::TwoWay(const TransferAttributes& item, const std::string& origin, const std::string& destination) {
    const uint32_t op = item.operation;
    // The workstation side is a local path; the device side a device path.
    const std::string& wsText = op == kTwoWayFolderSyncSecondPass ? destination : origin;
    const std::string& devText = op == kTwoWayFolderSyncSecondPass ? origin : destination;
    std::string ws;
    if (FAILED(UrlToLocalPath(wsText.c_str(), ws)) || !(IsDrivePath(ws) || IsUncPath(ws)))
        return Fail(EVT_NOT_A_DEVICE_PATH, wsText, E_INVALIDARG);
    if (devText.empty() || devText[0] != '\\') return Fail(EVT_NOT_A_DEVICE_PATH, devText, E_INVALIDARG);

    CFileSystemWildCardEvaluator filter;
    if (op != kTwoWayFileSync) {
        if (HRESULT hr = MakeFilter(item, filter); FAILED(hr)) return hr;
    }

    const bool outermost = !state_.Loaded();
    if (outermost) {
        // Without the state file no workstation side has a known status.
        if (HRESULT hr = state_.Load(); FAILED(hr)) return Fail(EVT_DEVICE_RECORDS_UNREADABLE, ws, E_FAIL);
        decided_.clear();
    }
    HRESULT hr = E_FAIL;
    switch (op) {
        case kTwoWayFileSync: hr = TwoWayFile(item.options, ws, devText); break;
        case kTwoWayFolderSync: hr = TwoWayFolder(item, filter, ws, devText); break;
        default: hr = TwoWayPass(item, filter, op, ws, devText); break;
    }
    if (outermost) {
        if (HRESULT saved = state_.Save(); FAILED(saved)) {
            Fail(EVT_FILE_NOT_WRITTEN, state_.Path(), saved);
            if (SUCCEEDED(hr)) hr = saved;
        }
        state_.Unload();
        decided_.clear();
    }
    return hr == kPairSettled ? S_OK : hr;
}

HRESULT CFileSync::CheckMissing(uint32_t status, const std::string& path, BOOL onDevice) {
    if (!IsMissing(status)) return S_OK;
    auto side = Side(onDevice);
    if (side->GetFileAttributes(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES)
        return Fail(EVT_NOT_A_URL, path, E_FAIL);  // there, but not readable
    // Absent: nothing is there to lose, whatever the reason.
    if (status == kStatusAbsent) return S_OK;
    // Gone, and so to be deleted on the other side: only when the path is
    // not found inside a folder that is there. An offline share, a missing
    // card or a path that cannot be used is no deletion.
    if (side->GetLastError() == ERROR_FILE_NOT_FOUND) {
        const std::string parent = ParentOf(path);
        const DWORD attributes = parent.empty() ? INVALID_FILE_ATTRIBUTES : side->GetFileAttributes(Wide(parent).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return S_OK;
    }
    return Fail(EVT_NOT_A_URL, path, E_FAIL);
}

DWORD CFileSync::GetWorkstationSyncStatus(const std::string& path, bool isFile, DWORD& crc) {
    uint32_t record = 0;
    const bool hasRecord = state_.State().ReadStoredCrc(path, record);
    crc = 0;
    const HRESULT hr = isFile ? CalcFileCrc32(path.c_str(), &crc, FALSE) : CalcFolderCrc32(path.c_str(), &crc, FALSE);
    return SideStatus(hasRecord, record, Outcome(hr), crc);
}

HRESULT CFileSync::PairStatuses(const std::string& ws, const std::string& dev, bool isFile,
                                const std::string& recordsInsertion, DWORD& deviceStatus, DWORD& wsStatus,
                                DWORD& wsCrc) {
    deviceStatus = kStatusUnknown;
    ++counts_.deviceCalls;
    const HRESULT hr = isFile ? CeGetFileSyncStatusOnDevice(dev.c_str(), &deviceStatus)
                              : CeGetFolderSyncStatusOnDevice(dev.c_str(), &deviceStatus);
    if (FAILED(hr) || deviceStatus == kStatusUnknown) return Fail(EVT_DEVICE_RECORDS_UNREADABLE, recordsInsertion, E_FAIL);
    if (deviceStatus == kStatusLocked) return Fail(EVT_FILE_LOCKED, dev, E_FAIL);
    if (deviceStatus >= kDecidableStatuses) return Fail(EVT_DEVICE_RECORDS_UNREADABLE, recordsInsertion, E_FAIL);

    wsStatus = GetWorkstationSyncStatus(ws, isFile, wsCrc);
    if (wsStatus == kStatusLocked) return Fail(EVT_FILE_LOCKED, ws, E_FAIL);

    if (HRESULT missing = CheckMissing(deviceStatus, dev, TRUE); FAILED(missing)) return missing;
    return CheckMissing(wsStatus, ws, FALSE);
}

HRESULT CFileSync::RecordPair(const std::string& ws, DWORD wsCrc, const std::string& dev, DWORD devCrc, bool device) {
    state_.State().WriteStoredCrc(ws, wsCrc);
    if (!device) return S_OK;
    ++counts_.deviceCalls;
    const HRESULT hr = CeUpdateFileCrcRecordOnDevice(dev.c_str(), devCrc);
    if (FAILED(hr)) return Fail(EVT_DEVICE_RECORDS_UNREADABLE, dev, hr);
    return S_OK;
}

HRESULT CFileSync::ForgetPair(const std::string& ws, const std::string& dev, bool folder) {
    state_.State().RemoveSection(ws);
    if (folder) state_.State().RemoveBelow(ws);
    ++counts_.deviceCalls;
    // A record left behind would delete a later restored copy.
    if (HRESULT hr = CeRemoveFileCrcRecordOnDevice(dev.c_str()); FAILED(hr))
        return Fail(EVT_DEVICE_RECORDS_UNREADABLE, dev, hr);
    return S_OK;
}

HRESULT CFileSync::CopyPair(TwoWayAction action, const std::string& ws, const std::string& dev,
                            uint32_t deviceStatus, uint32_t wsStatus) {
    const bool toWorkstation = action == kCopyDeviceToWorkstation;
    Switch(fs_, toWorkstation ? FALSE : TRUE);
    Switch(origin_, toWorkstation ? TRUE : FALSE);
    HRESULT hr = toWorkstation ? CopyOneFile(dev, ws, 0, kDefaultTransferFlags, TRUE, true)
                               : CopyOneFile(ws, dev, 0, kDefaultTransferFlags, FALSE, true);
    if (FAILED(hr)) return hr;
    // Recorded only when both sides now hold the same bytes.
    DWORD wsCrc = 0, devCrc = 0;
    ++counts_.deviceCalls;
    const bool same = SUCCEEDED(CalcFileCrc32(ws.c_str(), &wsCrc, FALSE)) &&
                      SUCCEEDED(CeCalcCrc32OnDevice(dev.c_str(), &devCrc, 0)) && wsCrc == devCrc;
    if (!same) return Fail(EVT_FILE_NOT_WRITTEN, toWorkstation ? ws : dev, E_FAIL);
    const bool deviceRecord = toWorkstation ? NeedsNewRecord(deviceStatus) : true;
    if (!toWorkstation && !NeedsNewRecord(wsStatus)) {
        ++counts_.deviceCalls;
        hr = CeUpdateFileCrcRecordOnDevice(dev.c_str(), devCrc);
        return FAILED(hr) ? Fail(EVT_DEVICE_RECORDS_UNREADABLE, dev, hr) : S_OK;
    }
    return RecordPair(ws, wsCrc, dev, devCrc, deviceRecord);
}

HRESULT CFileSync::TwoWayFile(uint32_t options, const std::string& ws, const std::string& dev) {
    DWORD deviceStatus = kStatusUnknown, wsStatus = kStatusUnknown, wsCrc = 0;
    if (HRESULT hr = PairStatuses(ws, dev, true, dev, deviceStatus, wsStatus, wsCrc); FAILED(hr)) return hr;

    TwoWayAction action = kNothingToDo;
    filesync::DecideTwoWayAction(deviceStatus, wsStatus, options, action);
    switch (action) {
        case kCopyDeviceToWorkstation:
        case kCopyWorkstationToDevice:
            return CopyPair(action, ws, dev, deviceStatus, wsStatus);
        case kDeleteDeviceSide:
        case kDeleteWorkstationSide: {
            // Not deleted: the records stay, so nothing comes back either.
            if (options & kNeverDelete) return S_OK;
            const bool device = action == kDeleteDeviceSide;
            Switch(fs_, device ? TRUE : FALSE);
            if (HRESULT hr = fs_.DeleteFile(Wide(device ? dev : ws).c_str()); FAILED(hr))
                return Fail(EVT_FILE_NOT_DELETED, device ? dev : ws, hr);
            ++counts_.deleted;
            return ForgetPair(ws, dev, false);
        }
        case kConflict:
            ++counts_.conflicts;
            state_.State().SetConflictRecord(ws, dev);
            return Fail(EVT_TWO_WAY_UNDECIDED, ws, E_FAIL);
        case kCompareContents: {
            DWORD devCrc = 0;
            ++counts_.deviceCalls;
            const HRESULT devHr = CeCalcCrc32OnDevice(dev.c_str(), &devCrc, 0);
            if (devHr == STG_E_SHAREVIOLATION) return Fail(EVT_FILE_LOCKED, dev, E_FAIL);
            if (SUCCEEDED(devHr) && devCrc == wsCrc) return RecordPair(ws, wsCrc, dev, devCrc, true);
            ++counts_.conflicts;
            state_.State().SetConflictRecord(ws, dev);
            return Fail(EVT_TWO_WAY_DIFFERENT, ws, E_FAIL);
        }
        case kNothingToDo:
            // Both gone: the records go too, or a copy restored later with
            // the recorded content would be taken as unchanged and deleted.
            if (deviceStatus == kStatusGone && wsStatus == kStatusGone) return ForgetPair(ws, dev, false);
            return S_OK;
    }
    return E_FAIL;
}

HRESULT CFileSync::TwoWayFolder(const TransferAttributes& item, const CFileSystemWildCardEvaluator& filter,
                                const std::string& ws, const std::string& dev) {
    bool walked = false;
    const HRESULT first = TwoWayPass(item, filter, kTwoWayFolderSyncFirstPass, ws, dev, &walked);
    if (first == kPairSettled) return S_OK;
    // The pair itself failed or is undecided: the second pass would find
    // it so again.
    if (FAILED(first) && !walked) return first;
    const HRESULT second = TwoWayPass(item, filter, kTwoWayFolderSyncSecondPass, ws, dev);
    return FAILED(first) || FAILED(second) ? E_FAIL : S_OK;
}

bool CFileSync::ListFolder(BOOL onDevice, const std::string& folder, std::vector<WIN32_FIND_DATAA>& entries) {
    CQvDualFileSystem lister;
    Switch(lister, onDevice);
    WIN32_FIND_DATAA entry = {};
    HANDLE find = lister.FindFirstFile(JoinPath(folder, "*.*").c_str(), &entry);
    if (!find || find == INVALID_HANDLE_VALUE) return lister.GetLastError() == ERROR_NO_MORE_FILES;
    do {
        const std::string name = entry.cFileName;
        if (name != "." && name != "..") entries.push_back(entry);
    } while (lister.FindNextFile(find, &entry));
    const DWORD ended = lister.GetLastError();
    lister.FindClose(find);
    return ended == ERROR_NO_MORE_FILES;
}

HRESULT CFileSync::TwoWayPass(const TransferAttributes& item, const CFileSystemWildCardEvaluator& filter,
                              uint32_t pass, const std::string& ws, const std::string& dev, bool* walked) {
    const bool first = pass == kTwoWayFolderSyncFirstPass;
    const std::string& passOrigin = first ? ws : dev;
    const std::string& passDestination = first ? dev : ws;

    DWORD deviceStatus = kStatusUnknown, wsStatus = kStatusUnknown, wsCrc = 0;
    if (HRESULT hr = PairStatuses(ws, dev, false, passDestination, deviceStatus, wsStatus, wsCrc); FAILED(hr))
        return hr;

    TwoWayAction action = kNothingToDo;
    filesync::DecideTwoWayAction(deviceStatus, wsStatus, item.options, action);
    switch (action) {
        case kNothingToDo:
            if (IsMissing(deviceStatus) && IsMissing(wsStatus) &&
                (deviceStatus == kStatusGone || wsStatus == kStatusGone)) {
                if (HRESULT hr = ForgetPair(ws, dev, true); FAILED(hr)) return hr;
            }
            return kPairSettled;
        case kConflict:
            ++counts_.conflicts;
            state_.State().SetConflictRecord(ws, dev);
            return Fail(EVT_TWO_WAY_UNDECIDED, passOrigin, E_FAIL);
        case kDeleteDeviceSide:
        case kDeleteWorkstationSide: {
            if (item.options & kNeverDelete) return kPairSettled;
            const BOOL device = action == kDeleteDeviceSide ? TRUE : FALSE;
            const std::string& folder = device ? dev : ws;
            bool kept = false;
            // Only what the item's filters take goes. A failure keeps the
            // folder's records, the deleted side's made what is left of it,
            // so the next run takes the deletion up again.
            if (FAILED(DeleteFiltered(filter, device, ws, dev, kept))) {
                DWORD left = 0;
                if (device) {
                    counts_.deviceCalls += 2;
                    if (SUCCEEDED(CeCalcFolderCrc32OnDevice(dev.c_str(), &left, 0)))
                        if (HRESULT hr = CeUpdateFileCrcRecordOnDevice(dev.c_str(), left); FAILED(hr))
                            Fail(EVT_DEVICE_RECORDS_UNREADABLE, dev, hr);
                } else if (SUCCEEDED(CalcFolderCrc32(ws.c_str(), &left, FALSE))) {
                    state_.State().WriteStoredCrc(ws, left);
                }
                return Fail(EVT_FOLDER_NOT_REMOVED, folder, E_FAIL);
            }
            if (HRESULT hr = ForgetPair(ws, dev, true); FAILED(hr)) return hr;
            return kPairSettled;
        }
        default:
            break;
    }

    // Copy either way, or compare: the entries decide for themselves. A
    // walked side that is not there (a folder on one side only) has no
    // entries; the other pass brings them over.
    bool failed = false;
    if (walked) *walked = true;
    const BOOL walkDevice = first ? FALSE : TRUE;
    if (!IsMissing(walkDevice ? deviceStatus : wsStatus)) {
        Switch(fs_, walkDevice ? FALSE : TRUE);
        const bool root = passDestination == "\\" || (IsDrivePath(passDestination) && passDestination.size() == 3);
        if (!root) {
            if (HRESULT hr = fs_.CreateFolderPath(Wide(passDestination).c_str()); FAILED(hr))
                return Fail(EVT_FOLDER_NOT_CREATED, passDestination, hr);
        }
        std::vector<WIN32_FIND_DATAA> entries;
        if (!ListFolder(walkDevice, passOrigin, entries)) {
            Fail(EVT_NOT_A_URL, passOrigin, E_FAIL);
            failed = true;
        }
        for (const WIN32_FIND_DATAA& entry : entries) {
            const std::string name = entry.cFileName;
            if (filter.Match(name)) continue;
            const std::string wsChild = JoinPath(ws, name), devChild = JoinPath(dev, name);
            HRESULT hr = S_OK;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                hr = TwoWayPass(item, filter, pass, wsChild, devChild);
            } else if (first) {
                hr = TwoWayFile(item.options, wsChild, devChild);
                decided_[FoldCase(wsChild)] = SUCCEEDED(hr);
            } else if (const auto found = decided_.find(FoldCase(wsChild)); found != decided_.end()) {
                // Decided by the first pass: a failure there keeps the
                // folder from being recorded as in step.
                if (!found->second) hr = E_FAIL;
            } else {
                hr = TwoWayFile(item.options, wsChild, devChild);
            }
            if (FAILED(hr)) failed = true;
        }
    }
    if (failed) return E_FAIL;
    if (first) return S_OK;

    // Entries gone from both sides are seen by neither walk: their records
    // go, or a copy restored later with the recorded content would be
    // taken as unchanged and deleted.
    for (const std::string& name : state_.State().ChildrenOf(ws)) {
        const std::string wsChild = JoinPath(ws, name);
        auto side = Side(TRUE);
        if (GetFileAttributesA(wsChild.c_str()) != INVALID_FILE_ATTRIBUTES ||
            side->GetFileAttributes(Wide(JoinPath(dev, name)).c_str()) != INVALID_FILE_ATTRIBUTES)
            continue;
        if (FAILED(ForgetPair(wsChild, JoinPath(dev, name), true))) return E_FAIL;
    }

    // Both sides of the folder are in step: record the trees as they are.
    DWORD wsNow = 0, devNow = 0;
    ++counts_.deviceCalls;
    if (FAILED(CalcFolderCrc32(ws.c_str(), &wsNow, FALSE)) ||
        FAILED(CeCalcFolderCrc32OnDevice(dev.c_str(), &devNow, 0)))
        return S_OK;  // not both there: the next run records them
    return RecordPair(ws, wsNow, dev, devNow, true);
}

HRESULT CFileSync::DeleteFiltered(const CFileSystemWildCardEvaluator& filter, BOOL onDevice, const std::string& ws,
                                  const std::string& dev, bool& kept) {
    const std::string& folder = onDevice ? dev : ws;
    std::vector<WIN32_FIND_DATAA> entries;
    if (!ListFolder(onDevice, folder, entries)) return Fail(EVT_NOT_A_URL, folder, E_FAIL);
    bool failed = false, keptHere = false;
    for (const WIN32_FIND_DATAA& entry : entries) {
        const std::string name = entry.cFileName;
        if (filter.Match(name)) {
            keptHere = true;
            continue;
        }
        const std::string wsChild = JoinPath(ws, name), devChild = JoinPath(dev, name);
        const std::string& path = onDevice ? devChild : wsChild;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            bool keptBelow = false;
            if (FAILED(DeleteFiltered(filter, onDevice, wsChild, devChild, keptBelow))) failed = true;
            keptHere = keptHere || keptBelow;
            continue;
        }
        Switch(fs_, onDevice);
        if (HRESULT hr = fs_.DeleteFile(Wide(path).c_str()); FAILED(hr)) {
            Fail(EVT_FILE_NOT_DELETED, path, hr);
            failed = true;
            continue;
        }
        ++counts_.deleted;
        if (FAILED(ForgetPair(wsChild, devChild, false))) failed = true;
    }
    kept = keptHere;
    if (failed) return E_FAIL;
    if (keptHere) return S_OK;  // excluded entries stay, with their folder
    Switch(fs_, onDevice);
    if (HRESULT hr = fs_.RemoveFolder(Wide(folder).c_str()); FAILED(hr)) return Fail(EVT_FOLDER_NOT_REMOVED, folder, hr);
    return ForgetPair(ws, dev, true);
}

}  // namespace vorlan::filesync
