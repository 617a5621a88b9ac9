#pragma once
// The device's replication service as the desktop calls it (see
// DeviceServiceCalls.h): one function per export. Needs an open device
// session. Each answers the remote API's failure when the call did not
// reach the export, else the export's own result word in result.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vorlan::activesync {

struct DeviceCall {
    HRESULT transport = E_FAIL;  // the remote API's result
    uint32_t result = 0;         // the call's own BOOL or HRESULT
    bool Reached() const { return SUCCEEDED(transport); }
};

struct DeviceTypeInfo : DeviceCall {
    std::wstring name;
    uint32_t objects = 0, bytes = 0;
    FILETIME lastWrite = {};
};

struct DeviceNotified : DeviceCall {
    uint32_t changed = 0, deleted = 0;
    std::vector<uint32_t> oids;  // changed ones first
};

struct DeviceFiles : DeviceCall {
    uint32_t files = 0;
    std::vector<uint32_t> changed, deleted;
};

struct DevicePacket : DeviceCall {
    std::vector<BYTE> bytes;
};

struct DeviceReset : DeviceCall {
    uint32_t oidNew = 0;
};

// type null: the connection ends.
DeviceCall DeviceInitObjType(const wchar_t* type, uint32_t partnerBit);
DeviceTypeInfo DeviceGetObjTypeInfo(const wchar_t* type);
// cbStruct 0: the record's own size.
DeviceNotified DeviceObjectNotify(const wchar_t* type, uint32_t flags, uint32_t oid, uint32_t partnerBit,
                                  uint32_t cbStruct = 0);
DeviceFiles DeviceNotifyFiles(uint32_t partnerBit);
DeviceCall DeviceSetup(bool read, uint32_t flags, uint32_t oid);
DevicePacket DeviceGetPacket();
DeviceCall DeviceSetPacket(const std::vector<BYTE>& bytes);
DeviceReset DeviceResetSetup(bool read);
DeviceCall DeviceDeleteObj(uint32_t oid);
DeviceCall DeviceReportStatus(const wchar_t* type, uint32_t code, uint32_t param);
// result: the handler's HRESULT; itself: it answered with its own object.
DeviceCall DeviceQueryInterface(REFIID iid, bool& itself);

}  // namespace vorlan::activesync
