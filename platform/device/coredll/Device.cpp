#include "Device.h"

#include "Wire.h"

namespace vorlan::device {

namespace {

constexpr uint32_t kOidMagic = 0x44495256;  // "VRID"

bool StartsWithFolder(const std::u16string& key, const std::u16string& folder) {
    return key == folder || (key.size() > folder.size() && key.starts_with(folder) && key[folder.size()] == u'\\');
}

std::wstring FinalPath(const std::wstring& host) {
    HANDLE h = CreateFileW(host.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return {};
    wchar_t buffer[1024];
    DWORD n = GetFinalPathNameByHandleW(h, buffer, 1024, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    CloseHandle(h);
    if (n == 0 || n >= 1024) return {};
    return std::wstring(buffer, n);
}

std::u16string Upper(const std::wstring& text) { return PathKey(std::u16string(text.begin(), text.end())); }

}  // namespace

Device& Device::Get() {
    static Device* device = new Device;  // outlives every module that calls it
    return *device;
}

bool Device::Open(const std::wstring& root, const std::wstring& state, const std::wstring& profilePath,
                  bool primary) {
    std::lock_guard<std::mutex> guard(lock_);
    root_ = root;
    while (!root_.empty() && (root_.back() == L'\\' || root_.back() == L'/')) root_.pop_back();
    state_ = state;
    primary_ = primary;
    rootFinal_ = FinalPath(root_);
    if (rootFinal_.empty()) return false;
    if (!profilePath.empty()) {
        HANDLE h = CreateFileW(profilePath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE) return false;
        std::string text(64 * 1024, '\0');
        DWORD got = 0;
        BOOL ok = ReadFile(h, text.data(), static_cast<DWORD>(text.size()), &got, nullptr);
        CloseHandle(h);
        text.resize(got);
        if (!ok || !ParseProfile(text, profile_)) return false;
    }
    std::vector<uint8_t> hive;
    if (ReadStateFile(L"registry.hive", hive)) {
        std::lock_guard<std::recursive_mutex> registryGuard(registryLock_);
        if (!registry_.Deserialize(hive)) return false;  // never overwrite a hive we cannot read
    }
    LoadOids();
    processes_.insert(GetCurrentProcessId());
    if (primary_) {
        // Device programs end with the device.
        job_ = CreateJobObjectW(nullptr, nullptr);
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        if (job_) SetInformationJobObject(job_, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    }
    open_ = true;
    return true;
}

bool Device::InsideRoot(const std::wstring& host) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    bool inside = CheckInsideRoot(host);
    QueryPerformanceCounter(&end);
    rootCheckTicks_ += static_cast<uint64_t>(end.QuadPart - start.QuadPart);
    ++rootChecks_;
    return inside;
}

bool Device::FinalPathInside(const std::wstring& host) {
    return StartsWithFolder(Upper(FinalPath(host)), Upper(rootFinal_));
}

// A plain folder (no link or junction) below a folder that is inside the
// root is inside it too, so only the parts that can lead elsewhere have
// their final path looked up: a reparse point on the way, or the file at
// the end (Wine marks links to folders as reparse points, links to files
// not). Each folder's mark is read afresh on every call, so a link made
// since the last one, from the device or from the desktop, is seen.
bool Device::CheckInsideRoot(const std::wstring& host) {
    // The deepest part of the path that exists decides where it really is.
    std::wstring probe = host;
    DWORD attributes;
    for (;;) {
        attributes = GetFileAttributesW(probe.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES) break;
        size_t cut = probe.find_last_of(L'\\');
        if (cut == std::wstring::npos || probe.size() <= root_.size()) return true;
        probe.resize(cut);
    }
    if (probe.size() <= root_.size()) return true;
    auto plainFolder = [](DWORD a) {
        return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) && !(a & FILE_ATTRIBUTE_REPARSE_POINT);
    };
    for (size_t at = probe.find(L'\\', root_.size() + 1); at != std::wstring::npos; at = probe.find(L'\\', at + 1))
        if (!plainFolder(GetFileAttributesW(probe.substr(0, at).c_str()))) return FinalPathInside(probe);
    return plainFolder(attributes) || FinalPathInside(probe);
}

void Device::RootCheckTime(uint64_t& ticks, uint64_t& checks) const {
    ticks = rootCheckTicks_;
    checks = rootChecks_;
}

HostPath Device::Map(LPCWSTR path, PathUse use) {
    HostPath out;
    if (!open_) EnsureOpen();
    if (!open_) {
        out.error = ERROR_NOT_READY;
        return out;
    }
    if (!path) {
        out.error = ERROR_PATH_NOT_FOUND;
        return out;
    }
    ResolvedPath resolved = ResolveDevicePath(U16(path), use);
    if (resolved.error) {
        out.error = resolved.error;
        return out;
    }
    out.device = resolved.DevicePath();
    out.host = root_;
    if (!resolved.relative.empty()) out.host += L"\\" + Wide(resolved.relative);
    std::u16string checked = out.device;
    std::wstring checkedHost = out.host;
    if (use == PathUse::Pattern) {
        checked.resize(checked.find_last_of(u'\\'));
        checkedHost.resize(checkedHost.find_last_of(L'\\'));
    }
    {
        std::lock_guard<std::mutex> guard(lock_);
        std::u16string key = PathKey(checked);
        for (const auto& folder : unreadable_)
            if (StartsWithFolder(key, folder)) {
                out.error = ERROR_ACCESS_DENIED;
                return out;
            }
    }
    if (!InsideRoot(checkedHost)) out.error = ERROR_ACCESS_DENIED;
    return out;
}

bool Device::MapOrFail(LPCWSTR path, HostPath& out, PathUse use) {
    out = Map(path, use);
    if (out.error) {
        SetLastError(out.error);
        return false;
    }
    return true;
}

void Device::SetUnreadable(const std::u16string& devicePath, bool unreadable) {
    std::lock_guard<std::mutex> guard(lock_);
    std::u16string key = PathKey(devicePath);
    if (unreadable)
        unreadable_.insert(key);
    else
        unreadable_.erase(key);
}

CEOID Device::OidOf(const std::u16string& devicePath) {
    std::lock_guard<std::mutex> guard(lock_);
    std::u16string key = PathKey(devicePath);
    auto it = oids_.find(key);
    if (it != oids_.end()) return it->second;
    CEOID oid = nextOid_++;
    oids_[key] = oid;
    oidPaths_[oid] = devicePath;
    oidsDirty_ = true;
    return oid;
}

bool Device::PathOfOid(CEOID oid, std::u16string& devicePath) {
    std::lock_guard<std::mutex> guard(lock_);
    auto it = oidPaths_.find(oid);
    if (it == oidPaths_.end()) return false;
    devicePath = it->second;
    return true;
}

void Device::ForgetOid(const std::u16string& devicePath, bool folder) {
    std::lock_guard<std::mutex> guard(lock_);
    std::u16string key = PathKey(devicePath);
    if (!folder) {
        auto it = oids_.find(key);
        if (it == oids_.end()) return;
        oidPaths_.erase(it->second);
        oids_.erase(it);
        oidsDirty_ = true;
        return;
    }
    for (auto it = oids_.begin(); it != oids_.end();) {
        if (StartsWithFolder(it->first, key)) {
            oidPaths_.erase(it->second);
            it = oids_.erase(it);
            oidsDirty_ = true;
        } else {
            ++it;
        }
    }
}

void Device::MoveOids(const std::u16string& from, const std::u16string& to) {
    std::lock_guard<std::mutex> guard(lock_);
    std::u16string fromKey = PathKey(from);
    std::vector<std::pair<std::u16string, CEOID>> moved;
    for (auto it = oids_.begin(); it != oids_.end();) {
        if (StartsWithFolder(it->first, fromKey)) {
            std::u16string path = oidPaths_[it->second];
            moved.emplace_back(to + path.substr(from.size()), it->second);
            it = oids_.erase(it);
        } else {
            ++it;
        }
    }
    for (auto& [path, oid] : moved) {
        oids_[PathKey(path)] = oid;
        oidPaths_[oid] = path;
    }
    if (!moved.empty()) oidsDirty_ = true;
}

void Device::LoadOids() {
    std::vector<uint8_t> bytes;
    if (!ReadStateFile(L"oids", bytes)) return;
    WireReader r(bytes);
    if (r.U32() != kOidMagic) return;
    CEOID next = r.U32();
    uint32_t count = r.U32();
    std::unordered_map<std::u16string, CEOID> oids;
    std::map<CEOID, std::u16string> paths;
    for (uint32_t i = 0; i < count && r.Ok(); ++i) {
        CEOID oid = r.U32();
        std::u16string path = r.Text();
        oids[PathKey(path)] = oid;
        paths[oid] = path;
    }
    if (!r.Done()) return;
    oids_ = std::move(oids);
    oidPaths_ = std::move(paths);
    nextOid_ = next;
}

DWORD Device::SaveHive() {
    if (!primary_) return ERROR_ACCESS_DENIED;
    std::lock_guard<std::recursive_mutex> guard(registryLock_);
    return WriteStateFile(L"registry.hive", registry_.Serialize()) ? 0 : ERROR_WRITE_FAULT;
}

void Device::Flush() {
    if (!primary_) return;
    WireWriter w;
    {
        std::lock_guard<std::mutex> guard(lock_);
        if (!oidsDirty_) return;
        w.U32(kOidMagic);
        w.U32(nextOid_);
        w.U32(static_cast<uint32_t>(oidPaths_.size()));
        for (const auto& [oid, path] : oidPaths_) {
            w.U32(oid);
            w.Text(std::u16string_view(path));
        }
        oidsDirty_ = false;
    }
    WriteStateFile(L"oids", w.Buffer());
}

bool Device::WriteStateFile(const wchar_t* name, const std::vector<uint8_t>& bytes) {
    std::wstring target = state_ + L"\\" + name, temporary = target + L".new";
    HANDLE h = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
              written == bytes.size();
    ok = CloseHandle(h) && ok;
    if (!ok || !MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileW(temporary.c_str());
        return false;
    }
    return true;
}

bool Device::ReadStateFile(const wchar_t* name, std::vector<uint8_t>& bytes) {
    std::wstring path = state_ + L"\\" + name;
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD size = GetFileSize(h, nullptr);
    bytes.resize(size == INVALID_FILE_SIZE ? 0 : size);
    DWORD got = 0;
    BOOL ok = size != INVALID_FILE_SIZE && ReadFile(h, bytes.data(), size, &got, nullptr) && got == size;
    CloseHandle(h);
    return ok;
}

void Device::AddProcess(DWORD pid) {
    std::lock_guard<std::mutex> guard(lock_);
    processes_.insert(pid);
}

bool Device::IsDeviceProcess(DWORD pid) {
    std::lock_guard<std::mutex> guard(lock_);
    return processes_.count(pid) != 0;
}

void Device::AdoptProcess(HANDLE process) {
    if (job_) AssignProcessToJobObject(job_, process);
}

void Device::QueueAnswer(int answer) {
    std::lock_guard<std::mutex> guard(lock_);
    answers_.push_back(answer);
}

bool Device::NextAnswer(int& answer) {
    std::lock_guard<std::mutex> guard(lock_);
    if (answers_.empty()) return false;
    answer = answers_.front();
    answers_.pop_front();
    return true;
}

bool Device::Journal(const std::string& line) {
    if (state_.empty()) return false;
    std::wstring path = state_ + L"\\journal.log";
    HANDLE h = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = WriteFile(h, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(h);
    return ok && written == line.size();
}

}  // namespace vorlan::device
