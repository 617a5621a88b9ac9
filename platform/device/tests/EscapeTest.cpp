// No device path reaches a file outside the device's root: not by "..",
// drive letters, UNC or stream names, host device names, nor by links in
// the root that point out of it.
#include <gtest/gtest.h>

#include <string>

#include "CeRapi.h"
#include "DeviceEmulator.h"

using vorlan::testing::DeviceEmulator;
using vorlan::testing::RapiSession;

namespace {

// Names in a host folder, "." and ".." left out.
int Entries(const std::wstring& folder) {
    WIN32_FIND_DATAW d;
    HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &d);
    int n = 0;
    if (h == INVALID_HANDLE_VALUE) return n;
    do n += wcscmp(d.cFileName, L".") != 0 && wcscmp(d.cFileName, L"..") != 0;
    while (FindNextFileW(h, &d));
    FindClose(h);
    return n;
}

}  // namespace

TEST(Escape, EveryPathFormIsRefusedAndNothingAppearsOutside) {
    // The build prepared the root with links into the folder beside it
    // (root/link -> ../outside, root/flink -> ../outside/secret.txt,
    // root/dangling -> ../outside/made.txt, which is not there).
    const std::wstring root = vorlan::testing::BuildPath(VORLAN_ESCAPE_ROOT),
                       outside = vorlan::testing::BuildPath(VORLAN_ESCAPE_OUTSIDE);
    ASSERT_EQ(Entries(outside), 1) << "the outside folder must hold only secret.txt";
    DeviceEmulator device("", root);
    device.UseForRapi();
    RapiSession session;
    ASSERT_TRUE(session.Connected());
    const wchar_t* kInside = L"\\Temp\\inside.txt";
    HANDLE file = CeCreateFile(kInside, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CeCloseHandle(file);

    struct Case {
        const wchar_t* path;
        DWORD error;
    };
    const Case cases[] = {
        {L"\\..\\outside\\x.txt", 3},       {L"\\Temp\\..\\..\\outside\\x.txt", 3},
        {L"..\\outside\\x.txt", 3},         {L"/../outside/x.txt", 3},
        {L"C:\\x.txt", 123},                {L"Z:\\tmp\\x.txt", 123},
        {L"\\\\server\\share\\x.txt", 53},  {L"\\\\?\\C:\\x.txt", 53},
        {L"//localhost/c$/x.txt", 53},      {L"\\link\\x.txt", 5},
        {L"\\link\\secret.txt", 5},         {L"\\flink", 5},
        {L"\\Temp\\x.txt:stream", 123},     {L"\\Temp\\nul", 123},
        {L"\\Temp\\CON.txt", 123},
    };
    for (const Case& c : cases) {
        HANDLE h = CeCreateFile(c.path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr);
        EXPECT_EQ(h, INVALID_HANDLE_VALUE) << c.path;
        EXPECT_EQ(CeGetLastError(), c.error) << c.path;
        EXPECT_FALSE(CeCreateDirectory(c.path, nullptr)) << c.path;
        EXPECT_FALSE(CeCopyFile(kInside, c.path, FALSE)) << c.path;
        EXPECT_FALSE(CeCopyFile(c.path, L"\\Temp\\copied", FALSE)) << c.path;
        EXPECT_FALSE(CeMoveFile(kInside, c.path)) << c.path;
        EXPECT_FALSE(CeMoveFile(c.path, L"\\Temp\\moved")) << c.path;
        EXPECT_FALSE(CeDeleteFile(c.path)) << c.path;
        EXPECT_EQ(CeGetFileAttributes(c.path), INVALID_FILE_ATTRIBUTES) << c.path;
        EXPECT_FALSE(CeSetFileAttributes(c.path, FILE_ATTRIBUTE_HIDDEN)) << c.path;
        EXPECT_FALSE(CeCreateProcess(c.path, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, nullptr))
            << c.path;
        DWORD size = 0;
        BYTE* output = nullptr;
        EXPECT_TRUE(FAILED(CeRapiInvoke(c.path, L"DllMain", 0, nullptr, &size, &output, nullptr, 0))) << c.path;
    }
    CE_FIND_DATA d;
    EXPECT_EQ(CeFindFirstFile(L"\\link\\*", &d), INVALID_HANDLE_VALUE);
    EXPECT_EQ(CeGetLastError(), 5u);
    EXPECT_FALSE(CeSHCreateShortcut(const_cast<LPWSTR>(L"\\link\\s.lnk"), const_cast<LPWSTR>(L"x")));

    // Creating through a link that leads to nothing yet would make its target.
    for (DWORD disposition : {CREATE_ALWAYS, OPEN_ALWAYS}) {
        EXPECT_EQ(CeCreateFile(L"\\dangling", GENERIC_WRITE, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr),
                  INVALID_HANDLE_VALUE);
        EXPECT_EQ(CeGetLastError(), 5u) << disposition;
    }
    EXPECT_FALSE(CeCopyFile(kInside, L"\\dangling", FALSE));
    EXPECT_EQ(CeGetLastError(), 5u);
    EXPECT_FALSE(CeSHCreateShortcut(const_cast<LPWSTR>(L"\\dangling"), const_cast<LPWSTR>(L"x")));
    EXPECT_NE(CeGetFileAttributes(kInside), INVALID_FILE_ATTRIBUTES) << "a refused move took the file";
    EXPECT_TRUE(CeDeleteFile(kInside));

    EXPECT_EQ(Entries(outside), 1) << "something was created outside the root";
    DeleteFileW((outside + L"\\made.txt").c_str());  // so a failure here does not spoil the next run
}
