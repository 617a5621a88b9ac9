#include "TwoWayFixture.h"

#include "Bstr.h"
#include "FileCrc.h"
#include "Ini.h"
#include "WholeFile.h"

namespace vorlan::filesync::testing {
namespace {
const wchar_t kDeviceStore[] = L"\\Program Files\\Dravenhall\\Vorlan\\TwoWaySync.dat";
}

void TwoWaySuite::SetUp() {
    FileSyncSuite::SetUp();
    appData_ = Local("appdata");
    CreateDirectoryA(appData_.c_str(), nullptr);
    SetEnvironmentVariableA("APPDATA", appData_.c_str());
    devicefs::RemoveWholeFile(device->HostPath(kDeviceStore).c_str());
}

std::string TwoWaySuite::StatePath() const { return appData_ + "\\Dravenhall\\Vorlan\\TwoWaySyncData-Emulated.ini"; }

TwoWayState TwoWaySuite::LoadState() const {
    TwoWayState state;
    state.Parse(LocalFile(StatePath()).value_or(""));
    return state;
}

void TwoWaySuite::SaveState(const TwoWayState& state) const {
    CreateDirectoryA((appData_ + "\\Dravenhall").c_str(), nullptr);
    CreateDirectoryA((appData_ + "\\Dravenhall\\Vorlan").c_str(), nullptr);
    vorlan::testing::WriteFileBytes(StatePath(), state.Format());
}

std::optional<uint32_t> TwoWaySuite::WsRecord(const std::string& wsPath) const {
    uint32_t crc = 0;
    if (!LoadState().ReadStoredCrc(wsPath, crc)) return std::nullopt;
    return crc;
}

std::optional<std::string> TwoWaySuite::WsConflict(const std::string& wsPath) const {
    return LoadState().ConflictRecord(wsPath);
}

std::optional<uint32_t> TwoWaySuite::DeviceRecord(const std::string& devPath) const {
    devicefs::CIni store;
    store.Load(device->HostPath(kDeviceStore).c_str());
    std::wstring value;
    if (FAILED(store.GetValue(com::WideFromAnsi(devPath).c_str(), L"CRC", L"-1", value)) || value == L"-1")
        return std::nullopt;
    return static_cast<uint32_t>(std::stoul(value));
}

void TwoWaySuite::SetDeviceRecord(const std::string& devPath, uint32_t crc) const {
    vorlan::testing::RapiSession session;
    EXPECT_EQ(CeUpdateFileCrcRecordOnDevice(devPath.c_str(), crc), S_OK) << devPath;
}

std::string TwoWaySuite::DeviceStoreBytes() const {
    return LocalFile(com::AnsiFromWide(device->HostPath(kDeviceStore))).value_or("(none)");
}

std::optional<std::string> TwoWaySuite::LocalFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
    return vorlan::testing::ReadFileBytes(path);
}

std::wstring TwoWaySuite::DeviceHost(const std::string& devPath) const {
    return device->HostPath(com::WideFromAnsi(devPath));
}

std::optional<std::string> TwoWaySuite::DeviceFile(const std::string& devPath) const {
    return LocalFile(com::AnsiFromWide(DeviceHost(devPath)));
}

void TwoWaySuite::PutDevice(const std::string& devPath, const std::string& bytes) const {
    PutDeviceFile(com::WideFromAnsi(devPath), bytes);
}

void TwoWaySuite::PutLocal(const std::string& path, const std::string& bytes) const {
    for (size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
        CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
    vorlan::testing::WriteFileBytes(path, bytes);
}

void TwoWaySuite::RemoveLocalTree(const std::string& path) {
    WIN32_FIND_DATAA d;
    HANDLE h = FindFirstFileA((path + "\\*").c_str(), &d);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = d.cFileName;
            if (name == "." || name == "..") continue;
            if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveLocalTree(path + "\\" + name);
            else
                DeleteFileA((path + "\\" + name).c_str());
        } while (FindNextFileA(h, &d));
        FindClose(h);
    }
    RemoveDirectoryA(path.c_str());
}

std::vector<std::string> TwoWaySuite::Everything(const std::string& wsFolder, const std::string& devFolder) const {
    std::vector<std::string> all;
    for (const std::string& entry : Tree(wsFolder)) all.push_back("ws " + entry);
    for (const std::string& entry : Tree(com::AnsiFromWide(DeviceHost(devFolder)))) all.push_back("device " + entry);
    all.push_back("state " + LocalFile(StatePath()).value_or("(none)"));
    all.push_back("device store " + DeviceStoreBytes());
    return all;
}

}  // namespace vorlan::filesync::testing
