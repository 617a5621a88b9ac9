// Ostrum running inside an emulated device, called as the desktop calls it:
// CeRapiInvoke("Ostrum", export, block).
#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "CeRapi.h"
#include "Crc32.h"
#include "SharedDeviceSuite.h"
#include "QuickCrcRecord.h"

using vorlan::testing::BuildPath;
using vorlan::testing::SharedDeviceSuite;
using vorlan::testing::RapiSession;

namespace {

const wchar_t kStore[] = L"\\Program Files\\Dravenhall\\Vorlan\\TwoWaySync.dat";

struct Answer {
    HRESULT hr = E_FAIL;
    std::vector<BYTE> bytes;
    DWORD Word(size_t i = 0) const {
        DWORD w = 0xDEADBEEF;
        if (bytes.size() >= 4 * (i + 1)) std::memcpy(&w, bytes.data() + 4 * i, 4);
        return w;
    }
};

Answer Invoke(const wchar_t* function, const std::vector<BYTE>& input) {
    BYTE* block = nullptr;
    if (!input.empty()) {
        block = static_cast<BYTE*>(LocalAlloc(LPTR, input.size()));
        std::memcpy(block, input.data(), input.size());
    }
    Answer answer;
    DWORD size = 0;
    BYTE* output = nullptr;
    answer.hr = CeRapiInvoke(L"Ostrum", function, static_cast<DWORD>(input.size()), block, &size, &output, nullptr, 0);
    if (output) answer.bytes.assign(output, output + size);
    CeRapiFreeBuffer(output);
    return answer;
}

void PutText(std::vector<BYTE>& block, size_t offset, const std::wstring& text) {
    std::memcpy(block.data() + offset, text.c_str(), (text.size() + 1) * 2);
}
void PutWord(std::vector<BYTE>& block, size_t offset, DWORD word) { std::memcpy(block.data() + offset, &word, 4); }

std::vector<BYTE> CrcRequest(const std::wstring& path, DWORD quick = 0) {
    std::vector<BYTE> block(516);
    PutText(block, 0, path);
    PutWord(block, 512, quick);
    return block;
}
std::vector<BYTE> CrcRecord(const std::wstring& path, DWORD crc) {
    std::vector<BYTE> block(1044);
    PutText(block, 0, path);
    PutWord(block, 1040, crc);
    return block;
}
std::vector<BYTE> Message(const std::wstring& text, const std::wstring& caption, DWORD type, DWORD duration) {
    std::vector<BYTE> block(9220);
    PutText(block, 0, text);
    PutText(block, 8192, caption);
    PutWord(block, 9212, type);
    PutWord(block, 9216, duration);
    return block;
}
std::vector<BYTE> Text(const std::wstring& text) {
    std::vector<BYTE> block((text.size() + 1) * 2);
    PutText(block, 0, text);
    return block;
}

uint32_t TextCrc(const std::wstring& text) { return vorlan::Crc32Update(text.data(), text.size() * 2); }

class Ostrum : public SharedDeviceSuite<Ostrum> {
public:
    static std::string Profile() { return vorlan::testing::kVorlanInstalled; }

protected:
    static void SetUpTestSuite() {
        SharedDeviceSuite::SetUpTestSuite();
        ASSERT_TRUE(device->InstallOstrum());
        for (auto [from, to] : {std::pair{VORLAN_DEVWIN, L"\\Windows\\devwin.exe"},
                                std::pair{VORLAN_SLEEPER, L"\\Windows\\sleeper.exe"},
                                std::pair{VORLAN_REGISTERING_DLL, L"\\Windows\\regtest.dll"},
                                std::pair{VORLAN_PLAIN_DLL, L"\\Windows\\plain.dll"}})
            ASSERT_TRUE(device->Install(BuildPath(from), to));
        RapiSession session;
        ASSERT_TRUE(session.Connected());
        ASSERT_TRUE(CeCreateDirectory(L"\\Sync", nullptr));
    }
    void SetUp() override { ASSERT_TRUE(session.Connected()); }

    static bool SetLocation(const std::wstring& path) {
        HKEY key;
        if (CeRegCreateKeyEx(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Dravenhall\\Vorlan", 0, nullptr, 0, 0, nullptr, &key,
                             nullptr) != ERROR_SUCCESS)
            return false;
        LONG result = path.empty() ? CeRegDeleteValue(key, L"TwoWaySyncData")
                                   : CeRegSetValueEx(key, L"TwoWaySyncData", 0, REG_SZ,
                                                     reinterpret_cast<const BYTE*>(path.c_str()),
                                                     static_cast<DWORD>((path.size() + 1) * 2));
        CeRegCloseKey(key);
        return result == ERROR_SUCCESS;
    }
    static bool Put(const std::wstring& path, const std::string& bytes) {
        HANDLE h = CeCreateFile(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) return false;
        DWORD written = 0;
        BOOL ok = CeWriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        return CeCloseHandle(h) && ok;
    }
    static DWORD Status(const std::wstring& path, bool file = true) {
        Answer a = Invoke(file ? L"CeGetFileSyncStatus" : L"CeGetFolderSyncStatus", Text(path));
        EXPECT_EQ(a.hr, S_OK);
        EXPECT_EQ(a.bytes.size(), 4u);
        return a.Word();
    }
    static Answer FileCrc(const std::wstring& path, DWORD quick = 0) { return Invoke(L"CECalcCRC32", CrcRequest(path, quick)); }
    static DWORD Update(const std::wstring& path, DWORD crc) { return Invoke(L"CeUpdateFileCRCRecord", CrcRecord(path, crc)).Word(); }
    // The store's bytes as the device holds them.
    static std::string StoreBytes() {
        HANDLE h = CreateFileW(device->HostPath(kStore).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE) return "<none>";
        std::string bytes(GetFileSize(h, nullptr), '\0');
        DWORD got = 0;
        ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
        CloseHandle(h);
        return bytes.substr(0, got);
    }
    static bool Exists(const std::wstring& path) {
        return GetFileAttributesW(device->HostPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    static std::string StoreText() {
        std::string bytes = StoreBytes(), text;
        if (bytes == "<none>") return bytes;
        for (size_t i = 0; i + 1 < bytes.size(); i += 2) text += bytes[i];
        return text;
    }

    RapiSession session;
};

}  // namespace

TEST_F(Ostrum, DeviceCrcsEqualTheDesktopsForTheSameBytes) {
    std::string bytes(100000, '\0');
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>((i * 131) ^ (i >> 7));
    const std::pair<std::wstring, std::string> files[] = {
        {L"\\Sync\\abc.txt", "abc"}, {L"\\Sync\\a.txt", "a"}, {L"\\Sync\\empty.txt", ""}, {L"\\Sync\\big.bin", bytes}};
    for (const auto& [path, content] : files) {
        ASSERT_TRUE(Put(path, content));
        Answer a = FileCrc(path);
        EXPECT_EQ(a.hr, S_OK);
        ASSERT_EQ(a.bytes.size(), 8u);
        EXPECT_EQ(a.Word(0), 0u);
        EXPECT_EQ(a.Word(1), vorlan::Crc32(content)) << std::string(path.begin(), path.end());
    }
    EXPECT_EQ(FileCrc(L"\\Sync\\abc.txt").Word(1), 0x352441C2u);

    // Quick mode sums the size and the coarse last-write time.
    HANDLE h = CeCreateFile(L"\\Sync\\abc.txt", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    FILETIME written;
    ASSERT_TRUE(CeGetFileTime(h, nullptr, nullptr, &written));
    CeCloseHandle(h);
    uint64_t time = (static_cast<uint64_t>(written.dwHighDateTime) << 32) | written.dwLowDateTime;
    EXPECT_EQ(FileCrc(L"\\Sync\\abc.txt", 1).Word(1), vorlan::QuickCrc32(time, 3));

    const std::wstring files2[] = {L"\\Sync\\T\\a.txt", L"\\Sync\\T\\sub\\b.txt"};
    ASSERT_TRUE(CeCreateDirectory(L"\\Sync\\T", nullptr));
    ASSERT_TRUE(CeCreateDirectory(L"\\Sync\\T\\sub", nullptr));
    ASSERT_TRUE(CeCreateDirectory(L"\\Sync\\T\\e", nullptr));
    ASSERT_TRUE(Put(files2[0], "abc"));
    ASSERT_TRUE(Put(files2[1], "a"));
    Answer folder = Invoke(L"CECalcFolderCRC32", CrcRequest(L"\\Sync\\T"));
    EXPECT_EQ(folder.Word(0), 0u);
    EXPECT_EQ(folder.Word(1), (TextCrc(files2[0]) ^ vorlan::Crc32("abc")) ^ (TextCrc(files2[1]) ^ vorlan::Crc32("a")));
    EXPECT_EQ(Invoke(L"CECalcFolderCRC32", CrcRequest(L"\\Sync\\T\\e")).Word(1), TextCrc(L"\\Sync\\T\\e"));
}

TEST_F(Ostrum, CrcErrors) {
    ASSERT_TRUE(Put(L"\\Sync\\held.txt", "x"));
    EXPECT_EQ(FileCrc(L"\\Sync\\none.txt").Word(0), static_cast<DWORD>(STG_E_FILENOTFOUND));
    EXPECT_EQ(FileCrc(L"\\Sync\\none.txt").Word(1), 0u);
    EXPECT_EQ(FileCrc(L"\\Nope\\none.txt").Word(0), static_cast<DWORD>(STG_E_FILENOTFOUND));
    uint32_t hold = device->HoldFile(L"\\Sync\\held.txt", 0);
    ASSERT_NE(hold, 0u);
    EXPECT_EQ(FileCrc(L"\\Sync\\held.txt").Word(0), static_cast<DWORD>(STG_E_SHAREVIOLATION));
    device->ReleaseFile(hold);
}

TEST_F(Ostrum, RecordsAndTheSevenStates) {
    const std::wstring file = L"\\Sync\\r.txt";
    ASSERT_TRUE(Put(file, "one"));
    EXPECT_EQ(Status(file), 0u);                      // new
    EXPECT_EQ(Status(L"\\Sync\\never.txt"), 2u);     // unknown
    DWORD crc = FileCrc(file).Word(1);
    EXPECT_EQ(Update(file, crc), static_cast<DWORD>(S_OK));
    EXPECT_EQ(Status(file), 4u);                      // unchanged
    EXPECT_EQ(Status(L"\\Sync\\R.TXT"), 0u) << "records are kept per spelling";
    uint32_t hold = device->HoldFile(file, 0);
    EXPECT_EQ(Status(file), 6u);                      // in use
    device->ReleaseFile(hold);
    ASSERT_TRUE(Put(file, "two"));
    EXPECT_EQ(Status(file), 3u);                      // changed
    ASSERT_TRUE(CeDeleteFile(file.c_str()));
    EXPECT_EQ(Status(file), 1u);                      // gone
    EXPECT_EQ(Invoke(L"CeRemoveFileCRCRecord", Text(file)).Word(), static_cast<DWORD>(S_OK));
    EXPECT_EQ(Status(file), 2u);
    EXPECT_EQ(Invoke(L"CeRemoveFileCRCRecord", Text(L"\\Sync\\never.txt")).Word(), static_cast<DWORD>(S_OK));

    ASSERT_TRUE(Put(file, "q"));
    EXPECT_EQ(Update(file, FileCrc(file, 1).Word(1)), static_cast<DWORD>(S_OK));
    EXPECT_EQ(Status(file), 3u) << "a quick CRC never matches the content CRC";
    EXPECT_EQ(Update(L"\\Sync\\max.txt", 0xFFFFFFFF), static_cast<DWORD>(S_OK));
    EXPECT_NE(StoreText().find("[\\Sync\\max.txt]\r\nCRC=4294967295\r\n"), std::string::npos) << StoreText();
    EXPECT_EQ(Status(L"\\Sync\\max.txt"), 1u) << "0xFFFFFFFF is a record like any other";

    ASSERT_TRUE(SetLocation(L""));
    EXPECT_EQ(Status(file), 5u);                      // no location
    EXPECT_EQ(Update(file, 1), static_cast<DWORD>(E_FAIL));
    EXPECT_EQ(Invoke(L"CeRemoveFileCRCRecord", Text(file)).Word(), static_cast<DWORD>(E_FAIL));
    EXPECT_EQ(Invoke(L"CeClearStorage", {}).Word(), static_cast<DWORD>(E_FAIL));
    ASSERT_TRUE(SetLocation(kStore));
}

TEST_F(Ostrum, AStoreThatCannotBeReadIsNeitherEmptyNorOverwritten) {
    const std::wstring kept = L"\\Sync\\kept.txt";
    ASSERT_TRUE(Put(kept, "k"));
    ASSERT_EQ(Update(kept, FileCrc(kept).Word(1)), static_cast<DWORD>(S_OK));
    std::string before = StoreText();
    uint32_t hold = device->HoldFile(kStore, 0);
    ASSERT_NE(hold, 0u);
    EXPECT_EQ(Status(kept), 5u);
    EXPECT_EQ(Status(L"\\Sync\\never.txt"), 5u) << "unreadable records must not read as none";
    EXPECT_NE(Update(L"\\Sync\\other.txt", 7), static_cast<DWORD>(S_OK));
    EXPECT_NE(Invoke(L"CeRemoveFileCRCRecord", Text(kept)).Word(), static_cast<DWORD>(S_OK));
    device->ReleaseFile(hold);
    EXPECT_EQ(StoreText(), before);
    EXPECT_EQ(Status(kept), 4u);

    // A save that fails is reported, and the old records stay.
    ASSERT_TRUE(device->SetUnreadable(L"\\Program Files\\Dravenhall\\Vorlan", true));
    EXPECT_NE(Update(L"\\Sync\\other.txt", 7), static_cast<DWORD>(S_OK));
    ASSERT_TRUE(device->SetUnreadable(L"\\Program Files\\Dravenhall\\Vorlan", false));
    EXPECT_EQ(StoreText(), before);
}

// UTF-16LE bytes of ASCII text, as the store holds it.
std::string StoreOf(const std::string& ascii) {
    std::string bytes;
    for (char c : ascii) bytes += {c, '\0'};
    return bytes;
}

// A store broken before its last line is not the whole store: its later
// records must not read as missing, nor be dropped by the next save. Only a
// last line cut short may be lost.
TEST_F(Ostrum, AStoreBrokenPartWayIsNeitherReadAsWholeNorRewritten) {
    const std::wstring first = L"\\Sync\\first.txt", later = L"\\Sync\\later.txt";
    ASSERT_TRUE(Put(first, "1"));
    ASSERT_TRUE(Put(later, "2"));
    const std::string records = "[\\Sync\\first.txt]\r\nCRC=" + std::to_string(vorlan::Crc32("1")) + "\r\n\r\n";
    const std::string tail = "[\\Sync\\later.txt]\r\nCRC=" + std::to_string(vorlan::Crc32("2")) + "\r\n\r\n";
    struct Case {
        const char* note;
        std::string bytes;
    };
    const Case broken[] = {
        {"a zero character in the middle", StoreOf(records) + std::string(2, '\0') + StoreOf(tail)},
        {"a key line that lost its '='", StoreOf(records + "CRC\r\n" + tail)},
        {"a header that lost its ']'", StoreOf(records + "[\\Sync\\lost.txt\r\nCRC=5\r\n" + tail)},
    };
    for (const Case& c : broken) {
        ASSERT_TRUE(Put(kStore, c.bytes));
        EXPECT_EQ(Status(first), 5u) << c.note;
        EXPECT_EQ(Status(later), 5u) << c.note << ": a record after the damage is not \"new\"";
        EXPECT_EQ(Status(L"\\Sync\\never.txt"), 5u) << c.note;
        EXPECT_NE(Update(L"\\Sync\\other.txt", 7), static_cast<DWORD>(S_OK)) << c.note;
        EXPECT_NE(Invoke(L"CeRemoveFileCRCRecord", Text(first)).Word(), static_cast<DWORD>(S_OK)) << c.note;
        EXPECT_EQ(StoreBytes(), c.bytes) << c.note << ": the store is left as it was";
    }

    // Cut in its last line: what came before it is the store.
    ASSERT_TRUE(Put(kStore, StoreOf(records + tail.substr(0, 14))));
    EXPECT_EQ(Status(first), 4u);
    EXPECT_EQ(Status(later), 0u);
    EXPECT_EQ(Update(later, vorlan::Crc32("2")), static_cast<DWORD>(S_OK));
    EXPECT_EQ(Status(first), 4u);
    EXPECT_EQ(Status(later), 4u);
    EXPECT_EQ(Invoke(L"CeClearStorage", {}).Word(), static_cast<DWORD>(S_OK));
}

// Clearing takes what an interrupted save left beside the store too, or the
// next read would bring the cleared records back from the backup.
TEST_F(Ostrum, ClearingLeavesNoBackupToComeBack) {
    const std::wstring file = L"\\Sync\\cleared.txt";
    ASSERT_TRUE(Put(file, "c"));
    const std::string record = StoreOf("[\\Sync\\cleared.txt]\r\nCRC=" + std::to_string(vorlan::Crc32("c")) + "\r\n\r\n");
    for (bool withStore : {true, false}) {
        if (withStore) {
            ASSERT_TRUE(Put(kStore, record));
        }
        ASSERT_TRUE(Put(std::wstring(kStore) + L".bak", record));
        ASSERT_TRUE(Put(std::wstring(kStore) + L".tmp", record));
        EXPECT_EQ(Invoke(L"CeClearStorage", {}).Word(), static_cast<DWORD>(S_OK)) << withStore;
        for (const wchar_t* suffix : {L"", L".bak", L".tmp"})
            EXPECT_FALSE(Exists(std::wstring(kStore) + suffix)) << withStore << " " << suffix;
        EXPECT_EQ(Status(file), 0u) << withStore << ": no record came back";
    }

    // A backup that cannot be deleted: the clearing fails and the records stay.
    ASSERT_TRUE(Put(kStore, record));
    ASSERT_TRUE(Put(std::wstring(kStore) + L".bak", record));
    uint32_t hold = device->HoldFile(std::wstring(kStore) + L".bak", 0);
    ASSERT_NE(hold, 0u);
    EXPECT_EQ(Invoke(L"CeClearStorage", {}).Word(), static_cast<DWORD>(E_FAIL));
    device->ReleaseFile(hold);
    EXPECT_EQ(Status(file), 4u);
    EXPECT_EQ(Invoke(L"CeClearStorage", {}).Word(), static_cast<DWORD>(S_OK));
    EXPECT_FALSE(Exists(std::wstring(kStore) + L".bak"));
}

TEST_F(Ostrum, FolderStatusAndClearing) {
    ASSERT_TRUE(CeCreateDirectory(L"\\Sync\\F", nullptr));
    ASSERT_TRUE(Put(L"\\Sync\\F\\a.txt", "a"));
    EXPECT_EQ(Status(L"\\Sync\\F", false), 0u);
    DWORD crc = Invoke(L"CECalcFolderCRC32", CrcRequest(L"\\Sync\\F")).Word(1);
    ASSERT_EQ(Update(L"\\Sync\\F", crc), static_cast<DWORD>(S_OK));
    EXPECT_EQ(Status(L"\\Sync\\F", false), 4u);
    ASSERT_TRUE(CeCreateDirectory(L"\\Sync\\F\\empty", nullptr));
    EXPECT_EQ(Status(L"\\Sync\\F", false), 4u) << "an empty folder adds nothing";
    ASSERT_TRUE(Put(L"\\Sync\\F\\b.txt", "b"));
    EXPECT_EQ(Status(L"\\Sync\\F", false), 3u);

    EXPECT_EQ(Invoke(L"CeClearStorage", {}).Word(), static_cast<DWORD>(S_OK));
    EXPECT_EQ(StoreText(), "<none>");
    EXPECT_EQ(Status(L"\\Sync\\F", false), 0u);
    EXPECT_EQ(Invoke(L"CeClearStorage", {}).Word(), static_cast<DWORD>(S_OK)) << "nothing to clear";
    ASSERT_TRUE(SetLocation(L"\\No Such Folder\\TwoWaySync.dat"));
    EXPECT_EQ(Invoke(L"CeClearStorage", {}).Word(), static_cast<DWORD>(S_OK)) << "its folder is not there either";
    ASSERT_TRUE(SetLocation(kStore));
}

TEST_F(Ostrum, BlocksThatDoNotFitTheirLayoutGetTheErrorAnswer) {
    std::vector<BYTE> unterminated(516, 'A');  // the path field holds no terminator
    std::vector<BYTE> noCaptionEnd = Message(L"text", L"", 0, 0);
    std::fill(noCaptionEnd.begin() + 8192, noCaptionEnd.begin() + 9212, 'B');
    struct Case {
        const wchar_t* function;
        std::vector<BYTE> block;
        std::vector<DWORD> answer;
    };
    const Case cases[] = {
        {L"CECalcCRC32", std::vector<BYTE>(100), {DWORD(E_INVALIDARG), 0}},
        {L"CECalcCRC32", unterminated, {DWORD(E_INVALIDARG), 0}},
        {L"CECalcFolderCRC32", {}, {DWORD(E_INVALIDARG), 0}},
        {L"CeGetFileSyncStatus", {'a', 0, 'b'}, {5}},
        {L"CeGetFolderSyncStatus", {}, {5}},
        {L"CeUpdateFileCRCRecord", CrcRequest(L"\\Sync\\x"), {DWORD(E_INVALIDARG)}},
        {L"CeRemoveFileCRCRecord", {'x', 0}, {DWORD(E_INVALIDARG)}},
        {L"CloseApp", {'P', 0, 'r', 0}, {0}},
        {L"CloseApp", Text(L""), {0}},
        {L"MsgBox", std::vector<BYTE>(8), {0}},
        {L"MsgBox", noCaptionEnd, {0}},
        {L"Notification", {}, {6}},
        {L"Notification", std::vector<BYTE>(9219), {6}},
        {L"RegisterDll", {'a'}, {1}},
        {L"UnregisterDll", {}, {1}},
        {L"WaitCreateProcess", {'a', 0, 'b', 0}, {87}},
    };
    size_t journal = device->Journal().size();
    for (const Case& c : cases) {
        Answer a = Invoke(c.function, c.block);
        std::string name(c.function, c.function + wcslen(c.function));
        EXPECT_EQ(a.hr, S_OK) << name;
        ASSERT_EQ(a.bytes.size(), c.answer.size() * 4) << name;
        for (size_t i = 0; i < c.answer.size(); ++i) EXPECT_EQ(a.Word(i), c.answer[i]) << name << " word " << i;
    }
    EXPECT_EQ(device->Journal().size(), journal) << "no box, bubble or program for a bad block";
}

TEST_F(Ostrum, TransportFailuresCarryNoOutput) {
    BYTE* output = reinterpret_cast<BYTE*>(1);
    DWORD size = 9;
    EXPECT_EQ(CeRapiInvoke(L"Ostrum", L"NoSuchExport", 0, nullptr, &size, &output, nullptr, 0),
              HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND));
    EXPECT_EQ(output, nullptr);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(CeRapiInvoke(L"NoSuchLibrary", L"CeClearStorage", 0, nullptr, &size, &output, nullptr, 0),
              HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND));
    EXPECT_EQ(output, nullptr);
}

TEST_F(Ostrum, StartAndWaitForAProgram) {
    DWORD start = GetTickCount();
    Answer a = Invoke(L"WaitCreateProcess", Text(L"\\Windows\\sleeper.exe"));
    EXPECT_EQ(a.Word(), 0u);
    EXPECT_GE(GetTickCount() - start, 450u) << "the call returns when the program has ended";
    EXPECT_NE(CeGetFileAttributes(L"\\Windows\\sleeper.done"), INVALID_FILE_ATTRIBUTES);
    start = GetTickCount();
    EXPECT_EQ(Invoke(L"WaitCreateProcess", Text(L"\\Windows\\nothere.exe")).Word(), 2u);
    EXPECT_EQ(Invoke(L"WaitCreateProcess", Text(L"\\Nope\\nothere.exe")).Word(), 3u);
    EXPECT_EQ(Invoke(L"WaitCreateProcess", Text(L"\\Windows\\plain.dll")).Word(), 193u);
    EXPECT_LT(GetTickCount() - start, 2000u);
    auto started = device->Journal("process");
    ASSERT_GE(started.size(), 1u);
    EXPECT_EQ(started[0].Get("application"), "\\Windows\\sleeper.exe");
    EXPECT_EQ(started[0].Get("error"), "0");
}

TEST_F(Ostrum, CloseAppClosesOnlyDeviceWindows) {
    WNDCLASSW desktopClass = {};
    desktopClass.lpfnWndProc = DefWindowProcW;
    desktopClass.lpszClassName = L"DesktopProbe";
    RegisterClassW(&desktopClass);
    HWND desktop = CreateWindowExW(0, L"DesktopProbe", L"Probe Desktop", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, nullptr,
                                   nullptr, nullptr, nullptr);
    ASSERT_NE(desktop, nullptr);
    EXPECT_EQ(Invoke(L"CloseApp", Text(L"Probe Desktop")).Word(), 0u);
    EXPECT_TRUE(IsWindow(desktop));
    DestroyWindow(desktop);
    EXPECT_EQ(Invoke(L"CloseApp", Text(L"NoSuchWindow")).Word(), 0u);

    PROCESS_INFORMATION pi;
    ASSERT_TRUE(CeCreateProcess(L"\\Windows\\devwin.exe", L"Probe Window", nullptr, nullptr, FALSE, 0, nullptr,
                                nullptr, nullptr, &pi));
    CeCloseHandle(pi.hThread);
    CeCloseHandle(pi.hProcess);
    // The remote API sees the device's windows, and only those. Wine gives
    // the program an input-method window too, so the fixture's is looked for.
    wchar_t text[64] = {};
    HWND window = nullptr;
    for (int i = 0; i < 100 && !window; ++i) {
        for (HWND w = CeGetWindow(nullptr, GW_CHILD); w && !window; w = CeGetWindow(w, GW_HWNDNEXT))
            if (CeGetClassName(w, text, 64) && wcscmp(text, L"DeviceWindowFixture") == 0) window = w;
        if (!window) Sleep(50);
    }
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(CeGetWindowText(window, text, 64), 12);
    EXPECT_STREQ(text, L"Probe Window");
    EXPECT_EQ(CeGetClassName(window, text, 64), 19);
    EXPECT_STREQ(text, L"DeviceWindowFixture");
    EXPECT_EQ(CeGetWindowLong(window, GWL_STYLE) & WS_CAPTION, WS_CAPTION);
    EXPECT_EQ(CeGetWindowText(GetDesktopWindow(), text, 64), 0);
    EXPECT_EQ(CeGetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_EQ(CeGetWindowLong(GetDesktopWindow(), GWL_STYLE), 0);
    EXPECT_EQ(CeGetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    DWORD found = Invoke(L"CloseApp", Text(L"probe window")).Word();  // titles compare without case
    EXPECT_EQ(found, 1u);
    DWORD after = 1;
    for (int i = 0; i < 100 && after; ++i) {
        Sleep(50);
        after = Invoke(L"CloseApp", Text(L"Probe Window")).Word();
    }
    EXPECT_EQ(after, 0u) << "the program ended when its window closed";
}

TEST_F(Ostrum, MessageBoxesAndNotificationsAreJournaledNotShown) {
    ASSERT_TRUE(device->QueueMessageBoxAnswer(IDNO));
    EXPECT_EQ(Invoke(L"MsgBox", Message(L"Hello", L"Cap", MB_YESNO, 0)).Word(), static_cast<DWORD>(IDNO));
    EXPECT_EQ(Invoke(L"MsgBox", Message(L"Again", L"Cap", MB_YESNOCANCEL | MB_DEFBUTTON3, 0)).Word(),
              static_cast<DWORD>(IDCANCEL));
    auto boxes = device->Journal("msgbox");
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].Get("text"), "Hello");
    EXPECT_EQ(boxes[0].Get("caption"), "Cap");
    EXPECT_EQ(boxes[0].Get("type"), "4");
    EXPECT_EQ(boxes[0].Get("answer"), "7");

    Answer a = Invoke(L"Notification", Message(L"<b>Synchronised</b> \u00e9t\u00e9", L"Vorlan", 0, 10));
    EXPECT_EQ(a.Word(), static_cast<DWORD>(S_OK));
    auto bubbles = device->Journal("notification");
    ASSERT_EQ(bubbles.size(), 1u);
    EXPECT_EQ(bubbles[0].Get("dwID"), "0x25bf8c");
    EXPECT_EQ(bubbles[0].Get("npPriority"), "0x1b1");
    EXPECT_EQ(bubbles[0].Get("csDuration"), "10");
    EXPECT_EQ(bubbles[0].Get("grfFlags"), "0");
    EXPECT_EQ(bubbles[0].Get("hicon"), "0x0");
    EXPECT_EQ(bubbles[0].Get("hwndSink"), "0x0");
    EXPECT_EQ(bubbles[0].Get("lParam"), "0x0");
    EXPECT_EQ(bubbles[0].Get("clsid"), "{23A419B7-7F99-479B-8A2A-56D6AC7043D4}");
    EXPECT_EQ(bubbles[0].Get("html"), "<b>Synchronised</b> \xC3\xA9t\xC3\xA9");
    EXPECT_EQ(bubbles[0].Get("title"), "Vorlan");
}

TEST_F(Ostrum, DllRegistrationRunsTheDllsOwnEntries) {
    auto registered = [] {
        HKEY key;
        if (CeRegOpenKeyEx(HKEY_LOCAL_MACHINE, L"SOFTWARE\\RegTest", 0, 0, &key) != ERROR_SUCCESS) return false;
        CeRegCloseKey(key);
        return true;
    };
    ASSERT_TRUE(Put(L"\\Windows\\notadll.dll", "this is text"));
    struct Case {
        const wchar_t* function;
        const wchar_t* path;
        DWORD answer;
        bool registeredAfter;
    };
    const Case cases[] = {
        {L"RegisterDll", L"\\Windows\\notadll.dll", 1, false},
        {L"RegisterDll", L"\\Windows\\plain.dll", 1, false},
        {L"RegisterDll", L"\\Windows\\missing.dll", 1, false},
        {L"RegisterDll", L"regtest.dll", 1, false},  // a bare name is not looked for along the search path
        {L"RegisterDll", L"Windows\\regtest.dll", 1, false},
        {L"RegisterDll", L"\\Windows\\regtest.dll", 0, true},  // its registration fails, but it ran
        {L"UnregisterDll", L"\\Windows\\plain.dll", 1, true},
        {L"UnregisterDll", L"regtest.dll", 1, true},
        {L"UnregisterDll", L"\\Windows\\regtest.dll", 0, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Invoke(c.function, Text(c.path)).Word(), c.answer) << std::wstring(c.path).size();
        EXPECT_EQ(registered(), c.registeredAfter);
    }
}
