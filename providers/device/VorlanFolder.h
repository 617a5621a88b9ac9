#pragma once
// The object type "Vorlan" on the device: one object, the data file, whose
// changes are judged per desktop partner against the state record kept in
// the state file, held open for the connection.
#include <windows.h>

#include "BaseFolder.h"
#include "StateRecord.h"

namespace vorlan::zephrin {

class CVorlanFolder : public CBaseFolder {
public:
    ~CVorlanFolder() override;
    const wchar_t* GetName() const override { return L"Vorlan"; }
    BOOL Init(ce::IReplObjHandler** ppHandler, UINT uPartnerBit) override;
    BOOL Close() override;
    BOOL ObjectNotify(ce::OBJNOTIFY* pNotify) override;
    BOOL GetObjTypeInfo(ce::OBJTYPEINFO* pInfo) override;

    // TRUE when oid names the data file (by its name, without regard to
    // case), or is the identifier the record holds.
    BOOL IsDataFileOid(CEOID oid);
    BOOL StoreOid(CEOID oid);
    // The current partner has the data file as it is now.
    BOOL MarkSynced();

    // The record as the state file holds it; zeros when it cannot be read.
    StateRecord ReadRecord();
    int PartnerIndex() const { return partner_; }

private:
    enum class SyncCompare { Changed, Same, Missing, Unreadable };
    SyncCompare CompareSyncTime();
    // One checked write of the whole record at offset 0.
    BOOL WriteRecord(const StateRecord& record);

    int partner_ = 0;
    HANDLE state_ = INVALID_HANDLE_VALUE;
};

// The data file's last-write time; false when it cannot be opened or read.
bool DataFileTime(FILETIME& time);
// Whether the data file (or anything of its name) is there at all.
bool DataFileExists();
// True when a file path names the data file, without regard to case.
bool IsDataFilePath(const wchar_t* path);

}  // namespace vorlan::zephrin
