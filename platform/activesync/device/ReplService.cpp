// The device's replication service, one export per call it makes of a
// device provider, so the desktop can make them singly or in the service's
// order. It holds the object handler of the connection and the two
// transfer records (a read and a write may be outstanding together), and
// journals every call with what it answered.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "Coredll.h"
#include "DeviceControl.h"
#include "Journal.h"
#include "Profile.h"
#include "ProviderLibraries.h"
#include "Wire.h"

using namespace vorlan::activesync::device;
using vorlan::device::WireReader;
using vorlan::device::WireWriter;

struct IRAPIStream;

#define SERVICE_EXPORT extern "C" HRESULT WINAPI

namespace {

using Fields = std::vector<std::pair<std::string, std::string>>;

ProviderLibrary* connected = nullptr;  // whose handler the connection has
ce::IReplObjHandler* handler = nullptr;
ce::REPLSETUP setups[2] = {};          // [0] write, [1] read

std::string Hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(value));
    return text;
}
std::string Bool(BOOL value) { return value ? "TRUE" : "FALSE"; }
std::string Utf8(const std::u16string& text) { return vorlan::device::Utf16ToUtf8(text); }
std::string Utf8(const wchar_t* text) { return Utf8(std::u16string(reinterpret_cast<const char16_t*>(text))); }

void Journal(const char* call, const std::string& result, Fields fields = {}) {
    fields.insert(fields.begin(), {{"call", call}, {"result", result}});
    const std::string line = vorlan::device::FormatJournalLine("repl", fields);
    DeviceJournal(line.data(), static_cast<DWORD>(line.size()));
}

// The answer block, in a LocalAlloc block the remote API frees.
HRESULT Answer(const WireWriter& answer, DWORD* pcbOutput, BYTE** ppOutput) {
    if (!pcbOutput || !ppOutput) return E_POINTER;
    *ppOutput = nullptr;
    *pcbOutput = 0;
    const auto& bytes = answer.Buffer();
    BYTE* block = static_cast<BYTE*>(LocalAlloc(LMEM_FIXED, bytes.size()));
    if (!block) return E_OUTOFMEMORY;
    std::memcpy(block, bytes.data(), bytes.size());
    *ppOutput = block;
    *pcbOutput = static_cast<DWORD>(bytes.size());
    return S_OK;
}

HRESULT Result(uint32_t result, DWORD* pcbOutput, BYTE** ppOutput) {
    WireWriter answer;
    answer.U32(result);
    return Answer(answer, pcbOutput, ppOutput);
}

void CopyType(WCHAR (&to)[ce::kMaxObjTypeName], const std::u16string& type) {
    const size_t n = type.size() < ce::kMaxObjTypeName - 1 ? type.size() : ce::kMaxObjTypeName - 1;
    std::memcpy(to, type.data(), n * sizeof(WCHAR));
    to[n] = 0;
}

void ReleaseHandler() {
    if (handler) handler->Release();
    handler = nullptr;
    connected = nullptr;
    std::memset(setups, 0, sizeof setups);
}

struct Notified {
    BOOL result = FALSE;
    UINT changed = 0, deleted = 0;
    std::vector<uint32_t> oids;  // changed ones first
};

// One notification, offered to every provider loaded until one takes it.
Notified Notify(UINT cbStruct, const std::u16string& type, UINT flags, UINT partnerBit, CEOID oid) {
    Notified notified;
    for (ProviderLibrary* provider : LoadedProviders()) {
        ce::OBJNOTIFY record = {};
        record.cbStruct = cbStruct ? cbStruct : sizeof record;
        CopyType(record.szObjType, type);
        record.uFlags = flags;
        record.uPartnerBit = partnerBit;
        record.oidObject = oid;
        CeOidGetInfo(oid, &record.oidInfo);
        if (!provider->objectNotify(&record)) continue;
        notified.result = TRUE;
        notified.changed = record.cOidChg;
        notified.deleted = record.cOidDel;
        // Copied at once: poid points into the provider's or the record's memory.
        if (record.poid)
            for (UINT i = 0; i < record.cOidChg + record.cOidDel; ++i) notified.oids.push_back(record.poid[i]);
        break;
    }
    std::string ids;
    for (uint32_t id : notified.oids) ids += (ids.empty() ? "" : " ") + std::to_string(id);
    Journal("ObjectNotify", Bool(notified.result),
            {{"flags", Hex(flags)}, {"oid", std::to_string(oid)}, {"changed", std::to_string(notified.changed)},
             {"deleted", std::to_string(notified.deleted)}, {"oids", ids}});
    return notified;
}

void Walk(const std::wstring& folder, std::vector<CEOID>& files) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring path = folder + L"\\" + found.cFileName;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) Walk(path, files);
        else files.push_back(FindDataOid(found));
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

}  // namespace

SERVICE_EXPORT ReplInitObjType(DWORD cbInput, BYTE* pInput, DWORD* pcbOutput, BYTE** ppOutput, IRAPIStream*) {
    WireReader in(pInput, cbInput);
    bool end = false;
    const std::u16string type = in.Text(&end);
    const UINT partnerBit = in.U32();
    if (!in.Done()) return Result(FALSE, pcbOutput, ppOutput);
    if (end) {
        // The connection ends: every provider closes, then its handler goes.
        BOOL all = TRUE;
        for (ProviderLibrary* provider : LoadedProviders())
            if (!provider->initObjType(nullptr, nullptr, 0)) all = FALSE;
        ReleaseHandler();
        Journal("InitObjType", Bool(all), {{"type", "NULL"}});
        return Result(all, pcbOutput, ppOutput);
    }
    std::string error;
    ProviderLibrary* provider = ProviderFor(std::wstring(type.begin(), type.end()), error);
    BOOL result = FALSE;
    if (provider) {
        ReleaseHandler();
        std::wstring name(type.begin(), type.end());
        result = provider->initObjType(name.data(), &handler, partnerBit);
        connected = provider;
    }
    Journal("InitObjType", Bool(result),
            {{"type", Utf8(type)}, {"partner", Hex(partnerBit)}, {"handler", handler ? "handle" : "NULL"},
             {"error", error}});
    return Result(result, pcbOutput, ppOutput);
}

SERVICE_EXPORT ReplGetObjTypeInfo(DWORD cbInput, BYTE* pInput, DWORD* pcbOutput, BYTE** ppOutput, IRAPIStream*) {
    WireReader in(pInput, cbInput);
    const std::u16string type = in.Text();
    if (!in.Done()) return Result(FALSE, pcbOutput, ppOutput);
    ce::OBJTYPEINFO info = {};
    info.cbStruct = sizeof info;
    CopyType(info.szObjType, type);
    BOOL result = FALSE;
    std::string error;
    if (ProviderLibrary* provider = ProviderFor(std::wstring(type.begin(), type.end()), error))
        result = provider->getObjTypeInfo(&info);
    info.szName[79] = 0;
    const uint64_t time = (static_cast<uint64_t>(info.ftLastModified.dwHighDateTime) << 32) |
                          info.ftLastModified.dwLowDateTime;
    Journal("GetObjTypeInfo", Bool(result),
            {{"name", Utf8(info.szName)}, {"objects", std::to_string(info.cObjects)},
             {"bytes", std::to_string(info.cbAllObj)}, {"error", error}});
    WireWriter answer;
    answer.U32(result);
    answer.Text(reinterpret_cast<const char16_t*>(info.szName));
    answer.U32(info.cObjects);
    answer.U32(info.cbAllObj);
    answer.U64(time);
    return Answer(answer, pcbOutput, ppOutput);
}

SERVICE_EXPORT ReplObjectNotify(DWORD cbInput, BYTE* pInput, DWORD* pcbOutput, BYTE** ppOutput, IRAPIStream*) {
    WireReader in(pInput, cbInput);
    const UINT cbStruct = in.U32();
    const std::u16string type = in.Text();
    const UINT flags = in.U32(), partnerBit = in.U32();
    const CEOID oid = in.U32();
    if (!in.Done()) return Result(FALSE, pcbOutput, ppOutput);
    const Notified notified = Notify(cbStruct, type, flags, partnerBit, oid);
    WireWriter answer;
    answer.U32(notified.result);
    answer.U32(notified.changed);
    answer.U32(notified.deleted);
    answer.U32(static_cast<uint32_t>(notified.oids.size()));
    for (uint32_t id : notified.oids) answer.U32(id);
    return Answer(answer, pcbOutput, ppOutput);
}

SERVICE_EXPORT ReplNotifyFiles(DWORD cbInput, BYTE* pInput, DWORD* pcbOutput, BYTE** ppOutput, IRAPIStream*) {
    WireReader in(pInput, cbInput);
    const UINT partnerBit = in.U32();
    if (!in.Done()) return Result(FALSE, pcbOutput, ppOutput);
    // Every file of the device, as the service offers each to its providers.
    std::vector<CEOID> files;
    Walk(L"", files);
    std::vector<uint32_t> changed, deleted;
    const std::u16string type = connected ? std::u16string(connected->type.begin(), connected->type.end()) : u"";
    for (CEOID oid : files) {
        const Notified notified = Notify(0, type, ce::ONF_FILE, partnerBit, oid);
        if (!notified.result) continue;
        for (size_t i = 0; i < notified.oids.size(); ++i)
            (i < notified.changed ? changed : deleted).push_back(notified.oids[i]);
    }
    Journal("NotifyFiles", "TRUE",
            {{"files", std::to_string(files.size())}, {"changed", std::to_string(changed.size())},
             {"deleted", std::to_string(deleted.size())}});
    WireWriter answer;
    answer.U32(TRUE);
    answer.U32(static_cast<uint32_t>(files.size()));
    for (const auto* ids : {&changed, &deleted}) {
        answer.U32(static_cast<uint32_t>(ids->size()));
        for (uint32_t id : *ids) answer.U32(id);
    }
    return Answer(answer, pcbOutput, ppOutput);
}

SERVICE_EXPORT ReplSetup(DWORD cbInput, BYTE* pInput, DWORD* pcbOutput, BYTE** ppOutput, IRAPIStream*) {
    WireReader in(pInput, cbInput);
    const BOOL read = in.U32() != 0;
    const DWORD flags = in.U32();
    const CEOID oid = in.U32();
    if (!in.Done()) return Result(static_cast<uint32_t>(E_INVALIDARG), pcbOutput, ppOutput);
    HRESULT hr = E_UNEXPECTED;
    if (handler) {
        ce::REPLSETUP& setup = setups[read ? 1 : 0];
        setup = {};
        setup.cbStruct = sizeof setup;
        setup.fRead = read;
        setup.dwFlags = flags;
        CopyType(setup.szObjType, std::u16string(connected->type.begin(), connected->type.end()));
        setup.oid = oid;
        hr = handler->Setup(&setup);
    }
    Journal("Setup", Hex(hr), {{"read", Bool(read)}, {"flags", Hex(flags)}, {"oid", std::to_string(oid)}});
    return Result(static_cast<uint32_t>(hr), pcbOutput, ppOutput);
}

SERVICE_EXPORT ReplGetPacket(DWORD cbInput, BYTE*, DWORD* pcbOutput, BYTE** ppOutput, IRAPIStream*) {
    HRESULT hr = E_UNEXPECTED;
    LPBYTE data = nullptr;
    DWORD size = 0;
    if (cbInput != 0) hr = E_INVALIDARG;
    else if (handler) hr = handler->GetPacket(&data, &size, 4000);
    Journal("GetPacket", Hex(hr), {{"bytes", std::to_string(data ? size : 0)}});
    WireWriter answer;
    answer.U32(static_cast<uint32_t>(hr));
    answer.Bytes(data, data ? size : 0);
    return Answer(answer, pcbOutput, ppOutput);
}

SERVICE_EXPORT ReplSetPacket(DWORD cbInput, BYTE* pInput, DWORD* pcbOutput, BYTE** ppOutput, IRAPIStream*) {
    WireReader in(pInput, cbInput);
    const auto bytes = in.Bytes();
    if (!in.Done()) return Result(static_cast<uint32_t>(E_INVALIDARG), pcbOutput, ppOutput);
    // A packet of no bytes is still a packet, not a null one.
    std::vector<BYTE> data(bytes.empty() ? 1 : bytes.size(), 0);
    if (!bytes.empty()) std::memcpy(data.data(), bytes.data(), bytes.size());
    HRESULT hr = handler ? handler->SetPacket(data.data(), static_cast<DWORD>(bytes.size())) : E_UNEXPECTED;
    Journal("SetPacket", Hex(hr), {{"bytes", std::to_string(bytes.size())}, {"oidNew", std::to_string(setups[0].oidNew)}});
    return Result(static_cast<uint32_t>(hr), pcbOutput, ppOutput);
}

SERVICE_EXPORT ReplReset(DWORD cbInput, BYTE* pInput, DWORD* pcbOutput, BYTE** ppOutput, IRAPIStream*) {
    WireReader in(pInput, cbInput);
    const BOOL read = in.U32() != 0;
    if (!in.Done()) return Result(static_cast<uint32_t>(E_INVALIDARG), pcbOutput, ppOutput);
    const HRESULT hr = handler ? handler->Reset(&setups[read ? 1 : 0]) : E_UNEXPECTED;
    Journal("Reset", Hex(hr), {{"read", Bool(read)}, {"oidNew", std::to_string(setups[0].oidNew)}});
    WireWriter answer;
    answer.U32(static_cast<uint32_t>(hr));
    answer.U32(setups[0].oidNew);
    return Answer(answer, pcbOutput, ppOutput);
}

SERVICE_EXPORT ReplDeleteObj(DWORD cbInput, BYTE* pInput, DWORD* pcbOutput, BYTE** ppOutput, IRAPIStream*) {
    WireReader in(pInput, cbInput);
    const CEOID oid = in.U32();
    if (!in.Done()) return Result(static_cast<uint32_t>(E_INVALIDARG), pcbOutput, ppOutput);
    HRESULT hr = E_UNEXPECTED;
    if (handler) {
        // A deletion is a write transfer of its own.
        ce::REPLSETUP& setup = setups[0];
        setup = {};
        setup.cbStruct = sizeof setup;
        CopyType(setup.szObjType, std::u16string(connected->type.begin(), connected->type.end()));
        setup.oid = oid;
        hr = handler->Setup(&setup);
        if (SUCCEEDED(hr)) hr = handler->DeleteObj(&setup);
    }
    Journal("DeleteObj", Hex(hr), {{"oid", std::to_string(oid)}});
    return Result(static_cast<uint32_t>(hr), pcbOutput, ppOutput);
}

SERVICE_EXPORT ReplQueryInterface(DWORD cbInput, BYTE* pInput, DWORD* pcbOutput, BYTE** ppOutput, IRAPIStream*) {
    IID iid = {};
    if (cbInput != sizeof iid || !pInput) return Result(static_cast<uint32_t>(E_INVALIDARG), pcbOutput, ppOutput);
    std::memcpy(&iid, pInput, sizeof iid);
    HRESULT hr = E_UNEXPECTED;
    void* object = nullptr;
    if (handler) hr = handler->QueryInterface(iid, &object);
    const bool itself = object == handler && handler;
    if (object) static_cast<IUnknown*>(object)->Release();
    Journal("QueryInterface", Hex(hr), {{"itself", Bool(itself)}});
    WireWriter answer;
    answer.U32(static_cast<uint32_t>(hr));
    answer.U32(itself ? 1 : 0);
    return Answer(answer, pcbOutput, ppOutput);
}

SERVICE_EXPORT ReplReportStatus(DWORD cbInput, BYTE* pInput, DWORD* pcbOutput, BYTE** ppOutput, IRAPIStream*) {
    WireReader in(pInput, cbInput);
    const std::u16string type = in.Text();
    const UINT code = in.U32(), param = in.U32();
    if (!in.Done()) return Result(FALSE, pcbOutput, ppOutput);
    std::string error;
    BOOL result = FALSE;
    std::wstring name(type.begin(), type.end());
    if (ProviderLibrary* provider = ProviderFor(name, error)) result = provider->reportStatus(name.data(), code, param);
    Journal("ReportStatus", Bool(result), {{"code", std::to_string(code)}, {"error", error}});
    return Result(result, pcbOutput, ppOutput);
}
