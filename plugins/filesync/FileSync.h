#pragma once
// CFileSync: the file plug-in's engine. The core hands it one file item at
// a time; it resolves the item's paths and creates, copies, deletes or
// walks files and folders on the workstation and on the device, reporting
// every failure to the event log where it happens and returning it.
// Unchanged files are not copied: the CRC-32 of both sides (or, for HTTP
// and FTP origins, the remote last-modified time) decides first. Two-way
// items keep a workstation file or folder and its device counterpart in
// step from both sides' records (TwoWaySync.cpp).
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "DeviceSession.h"
#include "FileItem.h"
#include "MySync.h"
#include "QvDualFileSystem.h"
#include "TwoWayDecision.h"
#include "TwoWayStateFile.h"
#include "WildCardEvaluator.h"

namespace vorlan::filesync {

// What the engine did since it was made, for its callers' summaries.
struct TransferCounts {
    unsigned long copied = 0;     // files written
    unsigned long unchanged = 0;  // files found equal and left alone
    unsigned long deviceCalls = 0;  // calls into the device library
    unsigned long deleted = 0;    // two-way deletions carried out
    unsigned long conflicts = 0;  // two-way pairs left marked as conflicts
};

class CFileSync : public IMySync {
public:
    // Makes the table a file system is switched to (the device's for a
    // non-zero flag); by default the real one of that side.
    using SideFactory = std::function<std::unique_ptr<CQvCERapiWrapper>(BOOL device)>;

    CFileSync() = default;

    // Event source named at RegInfoKey (else "Vorlan"), error report, and
    // the device session (0xC0020011 and its failure when none).
    HRESULT Init() override;
    // Reads "Dest", "OriginUrl", "FileAttributes" and "DownloadAttributes"
    // and carries the item out (0xC0020003 and E_INVALIDARG for none).
    HRESULT PerformTransfer(IInfoNode* item) override;

    // One item step, its paths resolved against ParentUrl first.
    HRESULT TransferItem(const std::string& origin, const std::string& destination,
                         const std::string& fileAttributes, const std::string& downloadAttributes);
    // The item path made absolute and expanded on the side given; E_FAIL
    // and out untouched for an empty text or one that cannot be resolved.
    HRESULT ResolveItemPath(const std::string& text, BOOL onDevice, BOOL destination, std::string& out);
    // The copy step of one file: paths already resolved.
    HRESULT CopyFileItem(const std::string& origin, const std::string& destination, DWORD attributes,
                         DWORD transferFlags, BOOL originOnDevice);

    // The two-way table's action for a pair of statuses, the options
    // applied: S_OK; E_POINTER for a null output or a status above 4.
    static HRESULT DecideTwoWayAction(DWORD deviceStatus, DWORD workstationStatus, DWORD* action, DWORD options);
    // With verification on, a copy succeeds only when the destination's
    // checksum afterwards is that of the bytes written.
    void SetVerifyCopies(bool verify) { verifyCopies_ = verify; }

    void SetSideFactory(SideFactory factory) { sides_ = std::move(factory); }
    const TransferCounts& Counts() const { return counts_; }
    // Milliseconds spent writing the two-way state file so far.
    double StateWriteMilliseconds() const { return state_.WriteMilliseconds(); }

private:
    // resolved: the paths are absolute already (entries of a folder walk),
    // so names are taken as they are and never expanded or unescaped.
    HRESULT Step(std::string origin, std::string destination, const std::string& fileAttributes,
                 const std::string& downloadAttributes, bool resolved);
    HRESULT MakeFilter(const TransferAttributes& item, CFileSystemWildCardEvaluator& filter);
    HRESULT WalkFolder(const TransferAttributes& item, const std::string& origin, const std::string& destination,
                       bool resolved);
    HRESULT CopyOneFile(const std::string& origin, const std::string& destination, DWORD attributes,
                     DWORD transferFlags, BOOL originOnDevice, bool resolved);
    HRESULT CopyFromDevice(const std::string& origin, const std::string& destination, DWORD destinationCrc,
                           bool destinationKnown, DWORD attributes);
    HRESULT CopyFromWorkstation(const std::string& origin, const std::string& destination, DWORD destinationCrc,
                                bool destinationKnown, DWORD attributes, DWORD transferFlags, bool resolved);
    HRESULT WriteDestination(const std::string& destination, const std::string& bytes, const FILETIME (&times)[3],
                             DWORD attributes, bool originOnDevice);
    HRESULT DestinationCrc(const std::string& destination, DWORD& crc);
    // A failed read of the origin, reported by its kind and returned.
    HRESULT ReadFailed(HRESULT hr, const std::string& origin);
    void Switch(CQvDualFileSystem& fs, BOOL device);
    std::unique_ptr<CQvCERapiWrapper> Side(BOOL device) const;

    // Two-way items (TwoWaySync.cpp): the state file is read for the
    // outermost item and written back once at its end.
    HRESULT TwoWay(const TransferAttributes& item, const std::string& origin, const std::string& destination);
    HRESULT TwoWayFile(uint32_t options, const std::string& ws, const std::string& dev);
    HRESULT TwoWayFolder(const TransferAttributes& item, const CFileSystemWildCardEvaluator& filter,
                         const std::string& ws, const std::string& dev);
    // walked: set when the pass got as far as its entries.
    HRESULT TwoWayPass(const TransferAttributes& item, const CFileSystemWildCardEvaluator& filter, uint32_t pass,
                       const std::string& ws, const std::string& dev, bool* walked = nullptr);
    HRESULT CopyPair(TwoWayAction action, const std::string& ws, const std::string& dev, uint32_t deviceStatus,
                     uint32_t wsStatus);
    HRESULT RecordPair(const std::string& ws, DWORD wsCrc, const std::string& dev, DWORD devCrc, bool device);
    // Removes the pair's records on both sides (with folder, every
    // workstation record below it).
    HRESULT ForgetPair(const std::string& ws, const std::string& dev, bool folder);
    HRESULT DeleteFiltered(const CFileSystemWildCardEvaluator& filter, BOOL onDevice, const std::string& ws,
                           const std::string& dev, bool& kept);
    // The workstation side's status from its record and its checksum now
    // (crc: the checksum, 0 when it failed).
    DWORD GetWorkstationSyncStatus(const std::string& path, bool isFile, DWORD& crc);
    // Both sides' statuses, each checked: S_OK only with statuses 0..4
    // whose gone or absent sides really are missing; else the failure,
    // reported (an unreadable device store names recordsInsertion).
    HRESULT PairStatuses(const std::string& ws, const std::string& dev, bool isFile,
                         const std::string& recordsInsertion, DWORD& deviceStatus, DWORD& wsStatus, DWORD& wsCrc);
    // A side the statuses call gone or absent really is: E_FAIL, reported,
    // when it exists unread or cannot be looked at.
    HRESULT CheckMissing(uint32_t status, const std::string& path, BOOL onDevice);
    bool ListFolder(BOOL onDevice, const std::string& folder, std::vector<WIN32_FIND_DATAA>& entries);

    CQvDualFileSystem fs_;  // the destination's side
    CQvDualFileSystem origin_;  // the origin's side
    DeviceSession session_;
    SideFactory sides_;
    TransferCounts counts_;
    bool verifyCopies_ = false;
    TwoWayStateFile state_;
    // Workstation files the first pass of the current folder item decided
    // (lower case), which its second pass need not decide again, and
    // whether that succeeded.
    std::unordered_map<std::string, bool> decided_;
};

// Joins a folder and a name with one separator, also when the folder is a
// root that already ends in one ("\", "C:\").
std::string JoinPath(const std::string& folder, const std::string& name);

}  // namespace vorlan::filesync
