#include "DeviceEmulator.h"

#include <shellapi.h>

#include <stdexcept>

#include "CeRapi.h"

namespace vorlan::testing {

using namespace vorlan::device;

namespace {

std::wstring Widen(const std::string& text) {
    std::wstring out(text.size() * 2 + 1, L'\0');
    int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(),
                                static_cast<int>(out.size()));
    out.resize(n);
    return out;
}

std::wstring NewFolder() {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    static LONG counter = 0;
    for (;;) {
        std::wstring path = std::wstring(base) + L"vorlan-device-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                            std::to_wstring(InterlockedIncrement(&counter));
        if (CreateDirectoryW(path.c_str(), nullptr)) return path;
        if (GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("cannot create a device folder");
    }
}

void RemoveTree(const std::wstring& folder) {
    std::wstring from = folder + std::wstring(1, L'\0');
    SHFILEOPSTRUCTW op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationW(&op);
}

// Emulators end with the test program that started them, even one that crashes.
HANDLE TestJob() {
    static HANDLE job = [] {
        HANDLE h = CreateJobObjectW(nullptr, nullptr);
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        if (h) SetInformationJobObject(h, JobObjectExtendedLimitInformation, &limits, sizeof limits);
        return h;
    }();
    return job;
}

}  // namespace

const char kVorlanInstalled[] =
    "Registry.HKLM\\SOFTWARE\\Apps\\Dravenhall Vorlan\\InstallDir = \\Program Files\\Dravenhall\\Vorlan\n"
    "Registry.HKLM\\SOFTWARE\\Dravenhall\\Vorlan\\TwoWaySyncData = \\Program Files\\Dravenhall\\Vorlan\\TwoWaySync.dat\n"
    "Directory = \\Program Files\\Dravenhall\\Vorlan\n";

std::wstring BuildPath(const char* unixPath) {
    std::wstring path = L"Z:" + Widen(unixPath);
    for (auto& c : path)
        if (c == L'/') c = L'\\';
    return path;
}

std::wstring DeviceEmulator::ProgramFolder() {
    std::wstring exe = BuildPath(VORLAN_DEVICE_EMULATOR);
    return exe.substr(0, exe.find_last_of(L'\\'));
}

DeviceEmulator::DeviceEmulator(const std::string& profile, const std::wstring& root, const std::wstring& options)
    : options_(options) {
    folder_ = NewFolder();
    root_ = root.empty() ? folder_ + L"\\device" : root;
    state_ = folder_ + L"\\state";
    profilePath_ = folder_ + L"\\profile.txt";
    HANDLE h = CreateFileW(profilePath_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    if (h == INVALID_HANDLE_VALUE || !WriteFile(h, profile.data(), static_cast<DWORD>(profile.size()), &written, nullptr))
        throw std::runtime_error("cannot write the device profile");
    CloseHandle(h);
    Start();
}

DeviceEmulator::~DeviceEmulator() {
    Stop();
    RemoveTree(folder_);
}

void DeviceEmulator::Start() {
    std::wstring exe = BuildPath(VORLAN_DEVICE_EMULATOR);
    std::wstring line = L"\"" + exe + L"\" --root \"" + root_ + L"\" --state \"" + state_ + L"\" --port 0 --profile \"" +
                        profilePath_ + L"\" " + options_;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_))
        throw std::runtime_error("cannot start the device emulator");
    if (HANDLE job = TestJob()) AssignProcessToJobObject(job, process_.hProcess);
    Endpoint endpoint;
    for (int waited = 0; !ReadEndpoint(state_, endpoint); waited += 20) {
        if (waited > 20000 || WaitForSingleObject(process_.hProcess, 20) == WAIT_OBJECT_0)
            throw std::runtime_error("the device emulator did not start");
    }
    SessionToken token{};
    RandomBytes(token.data(), token.size());
    if (!control_.Open(endpoint, Role::Control, token)) throw std::runtime_error("no control channel");
}

void DeviceEmulator::Stop() {
    if (!process_.hProcess) return;
    WireWriter request;
    BeginFrame(request, static_cast<uint32_t>(Op::Shutdown));
    std::vector<uint8_t> answer;
    control_.Call(request, answer);
    control_.Close();
    if (WaitForSingleObject(process_.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(process_.hProcess, 1);
    WaitForSingleObject(process_.hProcess, 5000);
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
    process_ = {};
}

void DeviceEmulator::Kill() {
    if (!process_.hProcess) return;
    TerminateProcess(process_.hProcess, 9);
    WaitForSingleObject(process_.hProcess, 5000);
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
    process_ = {};
    control_.Close();
    DeleteFileW((state_ + L"\\endpoint").c_str());  // what a clean stop removes
}

void DeviceEmulator::Restart() {
    Stop();
    Start();
}

void DeviceEmulator::UseForRapi() const { SetEnvironmentVariableW(L"VORLAN_DEVICE", state_.c_str()); }

std::wstring DeviceEmulator::HostPath(const std::wstring& devicePath) const {
    std::wstring path = devicePath;
    for (auto& c : path)
        if (c == L'/') c = L'\\';
    return root_ + (path.empty() || path[0] != L'\\' ? L"\\" : L"") + path;
}

bool DeviceEmulator::Install(const std::wstring& hostFile, const std::wstring& devicePath) const {
    return CopyFileW(hostFile.c_str(), HostPath(devicePath).c_str(), FALSE);
}

bool DeviceEmulator::InstallOstrum() const { return Install(BuildPath(VORLAN_OSTRUM), L"\\Windows\\Ostrum.dll"); }

bool DeviceEmulator::Control(WireWriter& request, std::vector<uint8_t>& answer) {
    if (!control_.Call(request, answer) || answer.size() < 4) return false;
    answer.erase(answer.begin(), answer.begin() + 4);  // the device error
    return true;
}

namespace {
WireWriter Request(Op op) {
    WireWriter w;
    BeginFrame(w, static_cast<uint32_t>(op));
    return w;
}
}  // namespace

std::vector<JournalEntry> DeviceEmulator::Journal() {
    std::string text;
    for (;;) {
        WireWriter request = Request(Op::ReadJournal);
        request.U64(text.size());
        std::vector<uint8_t> answer;
        if (!Control(request, answer)) break;
        WireReader r(answer);
        auto bytes = r.Bytes();
        if (bytes.empty()) break;
        text.append(bytes.begin(), bytes.end());
    }
    return ParseJournal(text);
}

std::vector<JournalEntry> DeviceEmulator::Journal(const std::string& kind) {
    std::vector<JournalEntry> entries;
    for (auto& e : Journal())
        if (e.Get("kind") == kind) entries.push_back(std::move(e));
    return entries;
}

uint32_t DeviceEmulator::HoldFile(const std::wstring& devicePath, DWORD share, DWORD access) {
    WireWriter request = Request(Op::HoldFile);
    request.Text(std::u16string_view(reinterpret_cast<const char16_t*>(devicePath.c_str()), devicePath.size()));
    request.U32(access);
    request.U32(share);
    std::vector<uint8_t> answer;
    if (!Control(request, answer)) return 0;
    return WireReader(answer).U32();
}

bool DeviceEmulator::ReleaseFile(uint32_t hold) {
    WireWriter request = Request(Op::ReleaseFile);
    request.U32(hold);
    std::vector<uint8_t> answer;
    return Control(request, answer) && WireReader(answer).U32() != 0;
}

bool DeviceEmulator::SetUnreadable(const std::wstring& devicePath, bool unreadable) {
    WireWriter request = Request(Op::SetUnreadable);
    request.Text(std::u16string_view(reinterpret_cast<const char16_t*>(devicePath.c_str()), devicePath.size()));
    request.U32(unreadable);
    std::vector<uint8_t> answer;
    return Control(request, answer) && WireReader(answer).U32() != 0;
}

bool DeviceEmulator::Disconnect() {
    WireWriter request = Request(Op::Disconnect);
    std::vector<uint8_t> answer;
    return Control(request, answer);
}

bool DeviceEmulator::Reconnect() {
    WireWriter request = Request(Op::Reconnect);
    std::vector<uint8_t> answer;
    return Control(request, answer);
}

bool DeviceEmulator::QueueMessageBoxAnswer(int answer) {
    WireWriter request = Request(Op::QueueMessageBoxAnswer);
    request.I32(answer);
    std::vector<uint8_t> reply;
    return Control(request, reply);
}

bool DeviceEmulator::Connections(uint32_t& sockets, uint32_t& rings) {
    WireWriter request = Request(Op::Connections);
    std::vector<uint8_t> answer;
    if (!Control(request, answer)) return false;
    WireReader r(answer);
    sockets = r.U32();
    rings = r.U32();
    return r.Done();
}

bool DeviceEmulator::RootCheckTime(uint64_t& nanoseconds, uint64_t& checks) {
    WireWriter request = Request(Op::RootCheckTime);
    std::vector<uint8_t> answer;
    if (!Control(request, answer)) return false;
    WireReader r(answer);
    nanoseconds = r.U64();
    checks = r.U64();
    return r.Done();
}

RapiSession::RapiSession(DWORD waitMs) {
    RAPIINIT init = {sizeof init, nullptr, E_FAIL};
    started_ = SUCCEEDED(CeRapiInitEx(&init));
    connected_ = started_ && WaitForSingleObject(init.heRapiInit, waitMs) == WAIT_OBJECT_0 &&
                 SUCCEEDED(init.hrRapiInit);
}

RapiSession::~RapiSession() {
    if (started_) CeRapiUninit();
}

}  // namespace vorlan::testing
