#include "DeviceService.h"

#include <cstring>

#include "CeRapi.h"
#include "DeviceServiceCalls.h"
#include "Wire.h"

namespace vorlan::activesync {
namespace {

using device::WireReader;
using device::WireWriter;

std::u16string U16(const wchar_t* text) { return std::u16string(reinterpret_cast<const char16_t*>(text)); }

// Calls one export; the answer's words after the result word stay in
// answer for the caller to read.
template <class Call>
Call Invoke(const wchar_t* function, const WireWriter& input, std::vector<uint8_t>& answer) {
    Call call;
    const auto& bytes = input.Buffer();
    BYTE* block = nullptr;
    if (!bytes.empty()) {
        block = static_cast<BYTE*>(LocalAlloc(LMEM_FIXED, bytes.size()));
        if (!block) return call.transport = E_OUTOFMEMORY, call;
        std::memcpy(block, bytes.data(), bytes.size());
    }
    DWORD size = 0;
    BYTE* output = nullptr;
    call.transport = CeRapiInvoke(kDeviceServiceLibrary, function, static_cast<DWORD>(bytes.size()), block, &size,
                                  &output, nullptr, 0);
    if (output) answer.assign(output, output + size);
    CeRapiFreeBuffer(output);
    if (SUCCEEDED(call.transport) && answer.size() < 4) call.transport = E_UNEXPECTED;  // no result word
    if (SUCCEEDED(call.transport)) {
        WireReader reader(answer);
        call.result = reader.U32();
        answer.erase(answer.begin(), answer.begin() + 4);
    }
    return call;
}

std::vector<uint32_t> Words(WireReader& reader) {
    std::vector<uint32_t> words(reader.U32());
    if (words.size() > reader.Remaining() / 4) return {};  // a count the answer cannot hold
    for (auto& word : words) word = reader.U32();
    return words;
}

}  // namespace

DeviceCall DeviceInitObjType(const wchar_t* type, uint32_t partnerBit) {
    WireWriter in;
    if (type) in.Text(U16(type));
    else in.Text(static_cast<const char16_t*>(nullptr));
    in.U32(partnerBit);
    std::vector<uint8_t> answer;
    return Invoke<DeviceCall>(L"ReplInitObjType", in, answer);
}

DeviceTypeInfo DeviceGetObjTypeInfo(const wchar_t* type) {
    WireWriter in;
    in.Text(U16(type));
    std::vector<uint8_t> answer;
    auto info = Invoke<DeviceTypeInfo>(L"ReplGetObjTypeInfo", in, answer);
    if (!info.Reached()) return info;
    WireReader reader(answer);
    const std::u16string name = reader.Text();
    info.name.assign(name.begin(), name.end());
    info.objects = reader.U32();
    info.bytes = reader.U32();
    const uint64_t time = reader.U64();
    info.lastWrite = {static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
    if (!reader.Done()) info.transport = E_UNEXPECTED;
    return info;
}

DeviceNotified DeviceObjectNotify(const wchar_t* type, uint32_t flags, uint32_t oid, uint32_t partnerBit,
                                  uint32_t cbStruct) {
    WireWriter in;
    in.U32(cbStruct);
    in.Text(U16(type));
    in.U32(flags);
    in.U32(partnerBit);
    in.U32(oid);
    std::vector<uint8_t> answer;
    auto notified = Invoke<DeviceNotified>(L"ReplObjectNotify", in, answer);
    if (!notified.Reached()) return notified;
    WireReader reader(answer);
    notified.changed = reader.U32();
    notified.deleted = reader.U32();
    notified.oids = Words(reader);
    if (!reader.Done()) notified.transport = E_UNEXPECTED;
    return notified;
}

DeviceFiles DeviceNotifyFiles(uint32_t partnerBit) {
    WireWriter in;
    in.U32(partnerBit);
    std::vector<uint8_t> answer;
    auto files = Invoke<DeviceFiles>(L"ReplNotifyFiles", in, answer);
    if (!files.Reached()) return files;
    WireReader reader(answer);
    files.files = reader.U32();
    files.changed = Words(reader);
    files.deleted = Words(reader);
    if (!reader.Done()) files.transport = E_UNEXPECTED;
    return files;
}

DeviceCall DeviceSetup(bool read, uint32_t flags, uint32_t oid) {
    WireWriter in;
    in.U32(read ? 1 : 0);
    in.U32(flags);
    in.U32(oid);
    std::vector<uint8_t> answer;
    return Invoke<DeviceCall>(L"ReplSetup", in, answer);
}

DevicePacket DeviceGetPacket() {
    std::vector<uint8_t> answer;
    auto packet = Invoke<DevicePacket>(L"ReplGetPacket", WireWriter(), answer);
    if (!packet.Reached()) return packet;
    WireReader reader(answer);
    const auto bytes = reader.Bytes();
    packet.bytes.assign(bytes.begin(), bytes.end());
    if (!reader.Done()) packet.transport = E_UNEXPECTED;
    return packet;
}

DeviceCall DeviceSetPacket(const std::vector<BYTE>& bytes) {
    WireWriter in;
    in.Bytes(bytes.data(), bytes.size());
    std::vector<uint8_t> answer;
    return Invoke<DeviceCall>(L"ReplSetPacket", in, answer);
}

DeviceReset DeviceResetSetup(bool read) {
    WireWriter in;
    in.U32(read ? 1 : 0);
    std::vector<uint8_t> answer;
    auto reset = Invoke<DeviceReset>(L"ReplReset", in, answer);
    if (!reset.Reached()) return reset;
    WireReader reader(answer);
    reset.oidNew = reader.U32();
    if (!reader.Done()) reset.transport = E_UNEXPECTED;
    return reset;
}

DeviceCall DeviceDeleteObj(uint32_t oid) {
    WireWriter in;
    in.U32(oid);
    std::vector<uint8_t> answer;
    return Invoke<DeviceCall>(L"ReplDeleteObj", in, answer);
}

DeviceCall DeviceReportStatus(const wchar_t* type, uint32_t code, uint32_t param) {
    WireWriter in;
    in.Text(U16(type));
    in.U32(code);
    in.U32(param);
    std::vector<uint8_t> answer;
    return Invoke<DeviceCall>(L"ReplReportStatus", in, answer);
}

DeviceCall DeviceQueryInterface(REFIID iid, bool& itself) {
    WireWriter in;
    in.Raw(&iid, sizeof iid);
    std::vector<uint8_t> answer;
    auto call = Invoke<DeviceCall>(L"ReplQueryInterface", in, answer);
    itself = false;
    if (!call.Reached()) return call;
    WireReader reader(answer);
    itself = reader.U32() == 1;
    if (!reader.Done()) call.transport = E_UNEXPECTED;
    return call;
}

}  // namespace vorlan::activesync
