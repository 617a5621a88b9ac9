// The device emulator: plays one Windows CE device for the desktop.
//
//   DeviceEmulator --root FOLDER [--state FOLDER] [--port N] [--profile FILE] [--transport tcp]
//
// FOLDER is the device's file system (created when missing); the state
// folder (default: the root's path followed by ".state") keeps its
// registry, object identifiers and journal, and receives "endpoint" (the
// port, once the emulator listens) and "secret" (readable by this user
// only), which desktop programs read to connect. Port 0 picks a free port.
// Connections move to shared memory when they ask, unless "--transport tcp"
// keeps every one on its socket.
#include <winsock2.h>
#include <windows.h>
#include <sddl.h>

#include <cstdio>
#include <string>

#include "DeviceChannel.h"

#include "DeviceCalls.h"
#include "Server.h"

using namespace vorlan::device;

namespace {

int Fail(const char* what) {
    std::fprintf(stderr, "DeviceEmulator: %s (error %lu)\n", what, GetLastError());
    return 2;
}

std::wstring ExeFolder() {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, n);
    return folder.substr(0, folder.find_last_of(L'\\'));
}

// A file that only the current user may open.
bool WritePrivateFile(const std::wstring& path, const std::string& text) {
    HANDLE token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
    BYTE buffer[256];
    DWORD size = 0;
    BOOL ok = GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size);
    CloseHandle(token);
    LPWSTR sid = nullptr;
    if (!ok || !ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &sid)) return false;
    std::wstring sddl = L"D:P(A;;FA;;;" + std::wstring(sid) + L")";
    LocalFree(sid);
    SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, FALSE};
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, &sa.lpSecurityDescriptor,
                                                              nullptr))
        return false;
    DeleteFileW(path.c_str());
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, &sa, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    LocalFree(sa.lpSecurityDescriptor);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    ok = WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) && written == text.size();
    return CloseHandle(h) && ok;
}

bool WriteFileReplacing(const std::wstring& path, const std::string& text) {
    std::wstring temporary = path + L".new";
    HANDLE h = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(h);
    return ok && MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring root, state, profile;
    unsigned long port = 0;
    bool rings = true;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::wstring option = argv[i];
        if (option == L"--root") root = argv[i + 1];
        else if (option == L"--state") state = argv[i + 1];
        else if (option == L"--profile") profile = argv[i + 1];
        else if (option == L"--port") port = wcstoul(argv[i + 1], nullptr, 10);
        else if (option == L"--transport" && (std::wstring(argv[i + 1]) == L"tcp" || std::wstring(argv[i + 1]) == L"shm"))
            rings = std::wstring(argv[i + 1]) == L"shm";
        else return Fail("unknown option");
    }
    if (root.empty() || port > 65535) return Fail("usage: DeviceEmulator --root FOLDER [--state FOLDER] [--port N] [--profile FILE] [--transport tcp|shm]");
    if (state.empty()) state = root + L".state";
    CreateDirectoryW(root.c_str(), nullptr);
    CreateDirectoryW(state.c_str(), nullptr);
    DeleteFileW((state + L"\\endpoint").c_str());

    std::string missing;
    std::wstring libraries = ExeFolder();
    if (!Ce.Load(libraries + L"\\coredll.dll", missing)) return Fail(("device library lacks " + missing).c_str());
    if (!Ce.DeviceOpen(root.c_str(), state.c_str(), profile.c_str(), TRUE)) return Fail("cannot open the device: its root, state folder or profile is unusable");
    // Device programs find their device, and its libraries, from these.
    SetEnvironmentVariableW(L"VORLAN_DEVICE_ROOT", root.c_str());
    SetEnvironmentVariableW(L"VORLAN_DEVICE_STATE", state.c_str());
    SetEnvironmentVariableW(L"VORLAN_DEVICE_PROFILE", profile.c_str());
    wchar_t path[32768];
    DWORD n = GetEnvironmentVariableW(L"PATH", path, 32768);
    SetEnvironmentVariableW(L"PATH", (libraries + L";" + std::wstring(path, n < 32768 ? n : 0)).c_str());

    Secret secret;
    if (!RandomBytes(secret.data(), secret.size())) return Fail("no random numbers");
    std::string hex;
    for (uint8_t b : secret) {
        static const char digits[] = "0123456789abcdef";
        hex += digits[b >> 4];
        hex += digits[b & 15];
    }
    if (!WritePrivateFile(state + L"\\secret", hex + "\n")) return Fail("cannot write the secret");
    Server server(secret, state, rings);
    if (!server.Listen(static_cast<uint16_t>(port))) return Fail("cannot listen");
    if (!WriteFileReplacing(state + L"\\endpoint", std::to_string(server.Port()) + "\n"))
        return Fail("cannot write the endpoint");
    std::printf("DeviceEmulator: listening on 127.0.0.1:%u\n", server.Port());
    std::fflush(stdout);
    server.Run();
    return 0;
}
