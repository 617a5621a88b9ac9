#include "DevicePartner.h"

#include "CallText.h"
#include "DeviceService.h"
#include "ReplDevice.h"
#include "ReplStore.h"

namespace vorlan::activesync {
namespace {

std::string Ids(const std::vector<uint32_t>& ids) {
    std::string text;
    for (uint32_t id : ids) text += (text.empty() ? "" : " ") + std::to_string(id);
    return text;
}

// The call's own answer, or the remote API's failure when it did not run.
std::string Answer(const DeviceCall& call, bool isBool) {
    if (!call.Reached()) return "unreached " + Hex(static_cast<uint32_t>(call.transport));
    return isBool ? Bool(call.result) : Hex(call.result);
}

HRESULT Failure(const DeviceCall& call) {
    if (!call.Reached()) return call.transport;
    return static_cast<HRESULT>(call.result);
}

}  // namespace

DevicePartner::DevicePartner(const Journal& journal, std::string objectType)
    : journal_(journal), objectType_(std::move(objectType)), type_(objectType_.begin(), objectType_.end()) {}

void DevicePartner::Call(const char* method, const std::string& result, std::vector<std::string> details) const {
    std::vector<std::string> fields = {"partner", method, result};
    fields.insert(fields.end(), details.begin(), details.end());
    journal_.Write(fields);
}

bool DevicePartner::Open() {
    if (open_) return true;
    const DeviceCall init = DeviceInitObjType(type_.c_str(), kPartnerBit);
    Call("InitObjType", Answer(init, true), {objectType_, Hex(kPartnerBit)});
    // The service ends what it started, also a start that failed.
    open_ = init.Reached();
    if (!init.Reached() || !init.result) return false;

    const DeviceTypeInfo info = DeviceGetObjTypeInfo(type_.c_str());
    Call("GetObjTypeInfo", Answer(info, true),
         {std::string(info.name.begin(), info.name.end()), std::to_string(info.objects), std::to_string(info.bytes)});

    const DeviceFiles files = DeviceNotifyFiles(kPartnerBit);
    Call("ObjectNotify", Answer(files, true),
         {"files " + std::to_string(files.files), "changed " + Ids(files.changed), "deleted " + Ids(files.deleted)});
    if (files.Reached() && files.result) {
        changed_ = files.changed;
        deleted_ = files.deleted;
        for (uint32_t oid : changed_) oid_ = oid;
        for (uint32_t oid : deleted_) oid_ = oid;
    }
    return true;
}

void DevicePartner::Close() {
    if (!open_) return;
    open_ = false;
    Call("InitObjType", Answer(DeviceInitObjType(nullptr, 0), true), {"NULL"});
    TakeChanges();
}

HRESULT DevicePartner::Read(uint32_t oid, std::vector<BYTE>& bytes) {
    bytes.clear();
    const DeviceCall setup = DeviceSetup(true, 0, oid);
    Call("Setup", Answer(setup, false), {"read", std::to_string(oid)});
    if (!setup.Reached() || FAILED(static_cast<HRESULT>(setup.result))) return Failure(setup);
    HRESULT hr = S_OK;
    for (;;) {
        const DevicePacket packet = DeviceGetPacket();
        Call("GetPacket", Answer(packet, false), {std::to_string(packet.bytes.size())});
        hr = Failure(packet);
        if (FAILED(hr)) break;
        bytes.insert(bytes.end(), packet.bytes.begin(), packet.bytes.end());
        if (hr == kLastPacket) break;
    }
    const DeviceReset reset = DeviceResetSetup(true);
    Call("Reset", Answer(reset, false), {"read"});
    if (FAILED(hr)) return hr;
    if (!reset.Reached() || FAILED(static_cast<HRESULT>(reset.result))) return Failure(reset);
    // The device takes the object as synchronised with this partner.
    const DeviceNotified cleared =
        DeviceObjectNotify(type_.c_str(), ce::ONF_FILE | ce::ONF_CLEAR_CHANGE, oid, kPartnerBit);
    Call("ObjectNotify", Answer(cleared, true), {"clear change", std::to_string(oid)});
    oid_ = oid;
    return S_OK;
}

HRESULT DevicePartner::Write(uint32_t oid, const std::vector<BYTE>& bytes) {
    const DeviceCall setup = DeviceSetup(false, 0, oid);
    Call("Setup", Answer(setup, false), {"write", std::to_string(oid)});
    if (!setup.Reached() || FAILED(static_cast<HRESULT>(setup.result))) return Failure(setup);
    const DeviceCall set = DeviceSetPacket(bytes);
    Call("SetPacket", Answer(set, false), {std::to_string(bytes.size())});
    const DeviceReset reset = DeviceResetSetup(false);
    Call("Reset", Answer(reset, false), {"write", std::to_string(reset.oidNew)});
    if (!set.Reached() || FAILED(static_cast<HRESULT>(set.result))) return Failure(set);
    if (!reset.Reached() || FAILED(static_cast<HRESULT>(reset.result))) return Failure(reset);
    oid_ = reset.oidNew;
    return S_OK;
}

}  // namespace vorlan::activesync
