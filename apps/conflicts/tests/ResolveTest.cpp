// Resolve in the window, by clicks on the element ids, with the file
// plug-in's copy object against the emulated device: what each choice
// copies and records on both sides, and what a failure leaves as it was.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "Bstr.h"
#include "FileCrc.h"
#include "KessrynFixture.h"
#include "TwoWayState.h"
#include "WindowCapture.h"
#include "feldane.h"

namespace vorlan::conflicts {
namespace {

using testing::KessrynSuite;
namespace files = vorlan::testing;

constexpr char kAllResolved[] = "Kessryn resolved all conflicts.";
constexpr char kNotAllResolved[] =
    "Some conflicts could not be resolved.\nPlease manually verify the files in the device and workstation.";

// The record both sides held before the pair came into conflict.
constexpr DWORD kOldRecord = 12345;

std::optional<std::string> FileBytes(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
}

// Writes a file, making its folders.
void PutFile(const std::wstring& path, const std::string& bytes) {
    for (size_t at = path.find(L'\\', 3); at != std::wstring::npos; at = path.find(L'\\', at + 1))
        CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << com::AnsiFromWide(path);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

DWORD ContentCrc(const std::string& bytes) {
    files::TempFolder folder;
    files::WriteFileBytes(folder / "bytes", bytes);
    DWORD crc = 0;
    EXPECT_EQ(filesync::CalcFileCrc32((folder / "bytes").c_str(), &crc, FALSE), S_OK);
    return crc;
}

class Resolve : public KessrynSuite {
protected:
    // One pair in conflict: its desktop file (in the test's folder) and
    // device file, what each held (nullptr: not there, "/": a folder),
    // the radio clicked and whether Resolve settles it.
    struct Pair {
        std::string desktopName;
        std::string device;
        const char* desktopBytes;
        const char* deviceBytes;
        int choice;
        bool settled;
        bool held = false;  // the device file held open by the emulator
    };

    // A name in the test's folder, or a path of its own.
    std::string Desktop(const Pair& pair) const {
        return pair.desktopName.find(':') == std::string::npos ? desktop_ / pair.desktopName : pair.desktopName;
    }
    std::wstring DeviceHost(const std::string& device) const { return device_.HostPath(com::WideFromAnsi(device)); }

    void Put(const Pair& pair) {
        const auto put = [](const std::wstring& path, const char* bytes) {
            if (!bytes) return;
            if (std::string(bytes) == "/") {
                PutFile(path + L"\\inside.txt", "a file of the folder");
            } else {
                PutFile(path, bytes);
            }
        };
        put(com::WideFromAnsi(Desktop(pair)), pair.desktopBytes);
        if (pair.device.size() < MAX_PATH) put(DeviceHost(pair.device), pair.deviceBytes);
    }

    DWORD DeviceStatus(const std::string& device) {
        files::RapiSession session;
        DWORD status = 0;
        filesync::CeGetFileSyncStatusOnDevice(device.c_str(), &status);
        return status;
    }

    void RecordOnDevice(const std::string& device, DWORD crc) {
        files::RapiSession session;
        filesync::CeUpdateFileCrcRecordOnDevice(device.c_str(), crc);
    }

    filesync::TwoWayState State() const {
        filesync::TwoWayState state;
        state.Parse(files::ReadFileBytes(statePath_));
        return state;
    }

    std::string DeviceStore() const {
        return FileBytes(device_.HostPath(L"\\Program Files\\Dravenhall\\Vorlan\\TwoWaySync.dat")).value_or("");
    }

    // The pairs on both sides and in both record stores, the window opened
    // on them, the radios clicked, Resolve clicked; then every pair checked.
    template <class Dialog = CKessrynDlg>
    void Run(const std::vector<Pair>& pairs, const char* box) {
        filesync::TwoWayState state;
        for (const Pair& pair : pairs) {
            Put(pair);
            state.SetValue(Desktop(pair), filesync::kStateCrcKey, std::to_string(kOldRecord));
            state.SetConflictRecord(Desktop(pair), pair.device);
            if (pair.device.size() < MAX_PATH) RecordOnDevice(pair.device, kOldRecord);
        }
        state.SetValue("C:\\elsewhere\\kept.txt", filesync::kStateCrcKey, "7");
        files::WriteFileBytes(statePath_, state.Format());
        std::vector<DWORD> statusBefore;
        std::vector<uint32_t> holds;
        for (const Pair& pair : pairs) {
            statusBefore.push_back(DeviceStatus(pair.device));
            if (pair.held) holds.push_back(device_.HoldFile(com::WideFromAnsi(pair.device), 0, GENERIC_READ));
        }
        const std::string storeBefore = DeviceStore();

        Dialog dialog;
        Open(dialog);
        ASSERT_EQ(dialog.Conflicts().size(), pairs.size());
        for (size_t n = 1; n <= pairs.size(); ++n) {
            ASSERT_EQ(dialog.GetElementText(WorkstationFileId(n)), Desktop(pairs[n - 1])) << n;
            ASSERT_EQ(dialog.GetElementText(DeviceFileId(n)), pairs[n - 1].device) << n;
            // A folder pair's copy choices refuse the click.
            const bool folder = pairs[n - 1].desktopBytes && std::string(pairs[n - 1].desktopBytes) == "/";
            EXPECT_EQ(dialog.ClickElement(RadioId(pairs[n - 1].choice, n)), !folder || pairs[n - 1].choice == 3) << n;
        }
        ASSERT_TRUE(dialog.ClickElement("ButtonResolve"));
        vorlan::testing::PumpMessages(30);
        for (uint32_t hold : holds) device_.ReleaseFile(hold);
        EXPECT_EQ(BoxTexts(), std::vector<std::string>{box});
        if (!boxes_.empty()) {
            EXPECT_TRUE(boxes_[0].type & (std::string(box) == kAllResolved ? MB_ICONINFORMATION : MB_ICONWARNING));
        }

        const filesync::TwoWayState after = State();
        EXPECT_EQ(after.Value("C:\\elsewhere\\kept.txt", filesync::kStateCrcKey), "7");
        bool anySettled = false;
        for (size_t i = 0; i < pairs.size(); ++i) {
            const Pair& pair = pairs[i];
            SCOPED_TRACE(pair.desktopName);
            const auto desktopNow = FileBytes(com::WideFromAnsi(Desktop(pair)));
            const auto deviceNow =
                pair.device.size() < MAX_PATH ? FileBytes(DeviceHost(pair.device)) : std::optional<std::string>();
            const auto was = [](const char* bytes) {
                return bytes && std::string(bytes) != "/" ? std::optional<std::string>(bytes) : std::nullopt;
            };
            if (pair.settled) {
                anySettled = true;
                const std::string winner = pair.choice == 1 ? pair.desktopBytes : pair.deviceBytes;
                EXPECT_EQ(desktopNow, winner);
                EXPECT_EQ(deviceNow, winner);
                EXPECT_EQ(after.ConflictRecord(Desktop(pair)), std::nullopt);
                EXPECT_EQ(after.Value(Desktop(pair), filesync::kStateCrcKey), std::to_string(ContentCrc(winner)));
                EXPECT_EQ(DeviceStatus(pair.device), 4u) << "the device's record is its content's";
            } else {
                EXPECT_EQ(desktopNow, was(pair.desktopBytes));
                EXPECT_EQ(deviceNow, was(pair.deviceBytes));
                EXPECT_EQ(after.ConflictRecord(Desktop(pair)), pair.device) << "still marked";
                EXPECT_EQ(after.Value(Desktop(pair), filesync::kStateCrcKey), std::to_string(kOldRecord));
                EXPECT_EQ(DeviceStatus(pair.device), statusBefore[i]);
            }
        }
        if (!anySettled) {
            EXPECT_EQ(files::ReadFileBytes(statePath_), state.Format()) << "the state file as it was";
            EXPECT_EQ(DeviceStore(), storeBefore) << "the device's records as they were";
        }
    }

    files::TempFolder desktop_;
};

TEST_F(Resolve, EachChoiceCopiesAndRecordsOrLeavesThePairAsItWas) {
    const std::string docs = "\\My Documents\\";
    const struct {
        const char* what;
        std::vector<Pair> pairs;
        const char* box;
    } cases[] = {
        {"the desktop's copy wins", {{"a.txt", docs + "a.txt", "desktop a", "device a", 1, true}}, kAllResolved},
        {"the device's copy wins", {{"b.txt", docs + "b.txt", "desktop b", "device b", 2, true}}, kAllResolved},
        {"skipped", {{"c.txt", docs + "c.txt", "desktop c", "device c", 3, false}}, kAllResolved},
        {"a missing desktop file, then a good pair",
         {{"gone.txt", docs + "gone.txt", nullptr, "device gone", 1, false},
          {"d.txt", docs + "d.txt", "desktop d", "device d", 1, true}},
         kNotAllResolved},
        {"the device file held open, either way",
         {{"e.txt", docs + "e.txt", "desktop e", "device e", 1, false, true},
          {"f.txt", docs + "f.txt", "desktop f", "device f", 2, false, true}},
         kNotAllResolved},
        {"a folder pair is never copied; the file pair beside it is",
         {{"Folder", docs + "Folder", "/", "/", 1, false}, {"g.txt", docs + "g.txt", "desktop g", "device g", 2, true}},
         kAllResolved},
        {"a device path with \"<\", which no file system takes",
         {{"lt.txt", docs + "a<b.txt", "desktop lt", nullptr, 1, false}}, kNotAllResolved},
        {"device paths longer than the device can check or record",
         {{"h.txt", "\\" + std::string(520, 'h') + ".txt", "desktop h", nullptr, 1, false},
          {"i.txt", "\\" + std::string(256, 'i'), "desktop i", nullptr, 1, false}},
         kNotAllResolved},
        {"paths with markup, blanks, percent signs and other scripts",
         {{"R&D  plans 100% \xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1.txt",
           docs + "R&D  %DeviceFile% \xE6\x9D\xB1\xE4\xBA\xAC.txt", "desktop &", "device &", 1, true},
          {"&amp; %WorkstationFile%  \xD0\xBC\xD0\xB8\xD1\x80.txt", docs + "a&lt;b  \xD0\xBC\xD0\xB8\xD1\x80.txt",
           "desktop mir", "device mir", 2, true}},
         kAllResolved},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        boxes_.clear();
        Run(c.pairs, c.box);
    }
}

TEST_F(Resolve, WhatARunWroteMeanwhileStays) {
    const Pair pair = {"a.txt", "\\My Documents\\a.txt", "desktop a", "device a", 1, true};
    Put(pair);
    filesync::TwoWayState state;
    state.SetConflictRecord(Desktop(pair), pair.device);
    state.SetConflictRecord("C:\\elsewhere\\b.txt", "\\b.txt");
    files::WriteFileBytes(statePath_, state.Format());
    CKessrynDlg dialog;
    Open(dialog);
    ASSERT_EQ(dialog.Conflicts().size(), 2u);
    ASSERT_TRUE(dialog.ClickElement(RadioId(3, 2)));

    // A synchronisation while the window is open: b settled, c marked.
    state.WriteStoredCrc("C:\\elsewhere\\b.txt", 99);
    state.SetConflictRecord("C:\\elsewhere\\c.txt", "\\c.txt");
    files::WriteFileBytes(statePath_, state.Format());

    ASSERT_TRUE(dialog.ClickElement("ButtonResolve"));
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{kAllResolved});
    state.WriteStoredCrc(Desktop(pair), ContentCrc("desktop a"));
    EXPECT_EQ(files::ReadFileBytes(statePath_), state.Format());
}

TEST_F(Resolve, ACopyWhoseRecordCannotBeWrittenStaysMarked) {
    const Pair pair = {"a.txt", "\\My Documents\\a.txt", "desktop a", "device a", 1, false};
    Put(pair);
    RecordOnDevice(pair.device, kOldRecord);
    filesync::TwoWayState state;
    state.SetConflictRecord(Desktop(pair), pair.device);
    files::WriteFileBytes(statePath_, state.Format());
    const std::wstring store = L"\\Program Files\\Dravenhall\\Vorlan\\TwoWaySync.dat";
    ASSERT_TRUE(device_.SetUnreadable(store, true));
    CKessrynDlg dialog;
    Open(dialog);
    ASSERT_TRUE(dialog.ClickElement("ButtonResolve"));
    device_.SetUnreadable(store, false);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{kNotAllResolved});
    EXPECT_EQ(FileBytes(DeviceHost(pair.device)), "desktop a") << "copied";
    EXPECT_EQ(files::ReadFileBytes(statePath_), state.Format()) << "still marked, no record";
    EXPECT_EQ(DeviceStatus(pair.device), 3u) << "the device's old record";
}

// The copy object as one whose write failed but which reported success:
// nothing was copied.
class SilentlyFailingCopy : public IQvFileCopy {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID_IQvFileCopy)) {
            *object = this;
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override { return --references_; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE CeFileCopy(BSTR, BSTR, BSTR, BSTR) override {
        ++calls;
        return S_OK;
    }
    int calls = 0;

private:
    ULONG references_ = 1;
};

SilentlyFailingCopy silentCopy;

class KessrynWithSilentCopy : public CKessrynDlg {
protected:
    HRESULT CreateFileCopy(IQvFileCopy** copy) override {
        silentCopy.AddRef();
        *copy = &silentCopy;
        return S_OK;
    }
};

TEST_F(Resolve, ACopyReportedButNotMadeRecordsNothing) {
    const std::string docs = "\\My Documents\\";
    Run<KessrynWithSilentCopy>({{"a.txt", docs + "a.txt", "desktop a", "device a", 1, false},
                                {"b.txt", docs + "b.txt", "desktop b", "device b", 2, false}},
                               kNotAllResolved);
    EXPECT_EQ(silentCopy.calls, 2);
}

// The page after a Resolve, under the real box that reports it.
TEST_F(Resolve, PictureAfterResolve) {
    const std::string docs = "\\My Documents\\", work = "C:\\Work";
    // Short paths, as a user's would be.
    ASSERT_TRUE(CreateDirectoryA(work.c_str(), nullptr)) << "made and removed by this test";
    const std::vector<Pair> pairs = {
        {work + "\\Report.doc", docs + "Report.doc", "report at home", "report on the road", 1, true},
        {work + "\\R&D plans.xls", docs + "R&D plans.xls", "plans at home", "plans on the road", 2, true},
        {work + "\\Notes.txt", docs + "Notes.txt", "notes at home", "notes on the road", 3, false}};
    struct Removed {
        const std::vector<Pair>& pairs;
        std::string folder;
        ~Removed() {
            for (const Pair& pair : pairs) DeleteFileA(pair.desktopName.c_str());
            RemoveDirectoryA(folder.c_str());
        }
    } removed{pairs, work};
    filesync::TwoWayState state;
    for (const Pair& pair : pairs) {
        Put(pair);
        state.SetConflictRecord(Desktop(pair), pair.device);
    }
    files::WriteFileBytes(statePath_, state.Format());
    CKessrynDlg dialog;
    Open(dialog);
    ASSERT_EQ(dialog.Conflicts().size(), pairs.size());
    for (size_t n = 1; n <= pairs.size(); ++n) ASSERT_TRUE(dialog.ClickElement(RadioId(pairs[n - 1].choice, n)));
    std::string picture;
    ScopedMessageBoxAnswerer realBox([&](const MessageBoxRequest& box) {
        boxes_.push_back(box);
        std::thread capture([&] {
            if (HWND shown = files::WaitForDialog(box.caption)) {
                Sleep(300);
                picture = files::SaveScreenshot(dialog.m_hWnd, "resolved") + " " +
                          files::SaveScreenshot(shown, "resolved-box");
                PostMessageA(shown, WM_COMMAND, IDOK, 0);
            }
        });
        const int answer = MessageBoxA(box.owner, box.text.c_str(), box.caption.c_str(), box.type);
        capture.join();
        return answer;
    });
    ASSERT_TRUE(dialog.ClickElement("ButtonResolve"));
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{kAllResolved});
    EXPECT_EQ(picture.find("failed"), std::string::npos) << picture;
    EXPECT_EQ(FileBytes(DeviceHost(pairs[0].device)), "report at home");
}

}  // namespace
}  // namespace vorlan::conflicts
