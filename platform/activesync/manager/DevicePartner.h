#pragma once
// The device half of one object type: the device's replication service
// driven in the service's order through the remote API. Every call is
// journaled as
//   partner <Method> <result> [details]
// At connection the provider starts (InitObjType with the partnership's
// bit), tells what it has (GetObjTypeInfo) and is asked about every file of
// the device; what it reported changed or deleted waits for the next
// synchronisation. Needs a connected device session.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "Journal.h"

namespace vorlan::activesync {

class DevicePartner {
public:
    // The partnership's bit: this desktop is the device's first partner.
    static constexpr uint32_t kPartnerBit = 0x1;

    DevicePartner(const Journal& journal, std::string objectType);
    ~DevicePartner() { Close(); }
    DevicePartner(const DevicePartner&) = delete;
    DevicePartner& operator=(const DevicePartner&) = delete;

    // False, journaled, when the device has no service or no provider for
    // the type, or the provider could not start.
    bool Open();
    void Close();

    // Objects the device reported changed or deleted since they were taken.
    const std::vector<uint32_t>& Changed() const { return changed_; }
    const std::vector<uint32_t>& Deleted() const { return deleted_; }
    void TakeChanges() { changed_.clear(), deleted_.clear(); }

    // One device object's bytes, ending with the clear-change notification.
    HRESULT Read(uint32_t oid, std::vector<BYTE>& bytes);
    // The desktop's bytes to the device object (oid 0 for a new one).
    HRESULT Write(uint32_t oid, const std::vector<BYTE>& bytes);
    // The device object that stands for the desktop's, once known.
    uint32_t Oid() const { return oid_; }

private:
    void Call(const char* method, const std::string& result, std::vector<std::string> details = {}) const;

    const Journal& journal_;
    std::string objectType_;
    std::wstring type_;
    bool open_ = false;
    uint32_t oid_ = 0;
    std::vector<uint32_t> changed_, deleted_;
};

}  // namespace vorlan::activesync
