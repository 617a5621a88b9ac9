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
    // (root/link -> ../outside, root/flink -> ../outside/secret.txt).
    const std::wstring root = vorlan::testing::BuildPath(VORLAN_ESCAPE_ROOT),
                       outside = vorlan::testing::BuildPath(VORLAN_ESCAPE_OUTSIDE);
    ASSERT_EQ(Entries(outside), 1) << "the outside folder must hold only secret.txt";
    DeviceEmulator device("", root);
    device.UseForRapi();
    RapiSession session;
    ASSERT_TRUE(session.Connected());

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
        EXPECT_FALSE(CeCopyFile(L"\\Windows", c.path, FALSE)) << c.path;
        EXPECT_FALSE(CeMoveFile(c.path, L"\\Temp\\moved")) << c.path;
        EXPECT_FALSE(CeDeleteFile(c.path)) << c.path;
        EXPECT_EQ(CeGetFileAttributes(c.path), INVALID_FILE_ATTRIBUTES) << c.path;
        EXPECT_FALSE(CeSetFileAttributes(c.path, FILE_ATTRIBUTE_HIDDEN)) << c.path;
    }
    CE_FIND_DATA d;
    EXPECT_EQ(CeFindFirstFile(L"\\link\\*", &d), INVALID_HANDLE_VALUE);
    EXPECT_EQ(CeGetLastError(), 5u);
    EXPECT_FALSE(CeSHCreateShortcut(const_cast<LPWSTR>(L"\\link\\s.lnk"), const_cast<LPWSTR>(L"x")));
    EXPECT_EQ(Entries(outside), 1) << "something was created outside the root";
}
