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

TEST(Escape, ASiblingWhoseNameBeginsWithTheRootsIsOutside) {
    // Root ".../dev" beside ".../devX" (which holds secret.txt and a folder
    // "inner"): its final path begins with the root's, so only a check at a
    // separator refuses it.
    DeviceEmulator device("", vorlan::testing::BuildPath(VORLAN_ESCAPE_DEV));
    device.UseForRapi();
    RapiSession session;
    ASSERT_TRUE(session.Connected());
    struct Case {
        const wchar_t* path;
        DWORD error;
        const char* note;
    };
    const Case cases[] = {
        {L"\\sibling\\secret.txt", 5, "a file through a link to the sibling"},
        {L"\\sibling", 5, "the link itself"},
        {L"\\sibling\\new.txt", 5, "a new file through the link"},
        {L"\\sibling\\inner", 5, "a plain folder reached through the link"},
        {L"\\sibling\\inner\\new.txt", 5, "a new file in it"},
        {L"\\fsibling", 5, "a link to the sibling's file"},
        {L"\\..\\devX\\secret.txt", 3, "\"..\" stops at the root: a folder of the device that is not there"},
        {L"\\Temp\\..\\..\\devX\\secret.txt", 3, "the same from below"},
    };
    for (const Case& c : cases) {
        HANDLE h = CeCreateFile(c.path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_EQ(h, INVALID_HANDLE_VALUE) << c.note;
        EXPECT_EQ(CeGetLastError(), c.error) << c.note;
        EXPECT_EQ(CeGetFileAttributes(c.path), INVALID_FILE_ATTRIBUTES) << c.note;
        EXPECT_EQ(CeGetLastError(), c.error) << c.note;
        EXPECT_FALSE(CeCopyFile(c.path, L"\\Temp\\copied", FALSE)) << c.note;
        h = CeCreateFile(c.path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_EQ(h, INVALID_HANDLE_VALUE) << c.note;
        if (h != INVALID_HANDLE_VALUE) CeCloseHandle(h);
    }
    CE_FIND_DATA d;
    EXPECT_EQ(CeFindFirstFile(L"\\sibling\\*", &d), INVALID_HANDLE_VALUE);
    EXPECT_EQ(CeGetLastError(), 5u);
    const std::wstring sibling = vorlan::testing::BuildPath(VORLAN_ESCAPE_DEV) + L"X";
    EXPECT_EQ(Entries(sibling), 2) << "something was created in the sibling";
    EXPECT_EQ(Entries(sibling + L"\\inner"), 0) << "something was created in the sibling";
    // So a failure here does not spoil the next run.
    DeleteFileW((sibling + L"\\new.txt").c_str());
    DeleteFileW((sibling + L"\\inner\\new.txt").c_str());
}

TEST(Escape, AFolderThatBecomesALinkLeadsNowhereOutside) {
    // While the device runs, a folder it has used ("\Temp\box\swap") comes
    // to be a link to the outside folder: its parent is replaced by a
    // folder the build made, which holds that link.
    const std::wstring root = vorlan::testing::BuildPath(VORLAN_ESCAPE_ROOT),
                       swapper = vorlan::testing::BuildPath(VORLAN_ESCAPE_SWAPPER), box = root + L"\\Temp\\box";
    if (GetFileAttributesW(swapper.c_str()) == INVALID_FILE_ATTRIBUTES) MoveFileW(box.c_str(), swapper.c_str());
    ASSERT_NE(GetFileAttributesW((swapper + L"\\swap").c_str()), INVALID_FILE_ATTRIBUTES) << "the build's link is missing";
    DeviceEmulator device("", root);
    device.UseForRapi();
    RapiSession session;
    ASSERT_TRUE(session.Connected());
    enum Change { RemovedByTheDevice, MovedByTheDevice, RemovedOnTheDesktop };
    for (Change change : {RemovedByTheDevice, MovedByTheDevice, RemovedOnTheDesktop}) {
        ASSERT_TRUE(CeCreateDirectory(L"\\Temp\\box", nullptr)) << change;
        ASSERT_TRUE(CeCreateDirectory(L"\\Temp\\box\\swap", nullptr)) << change;
        HANDLE h = CeCreateFile(L"\\Temp\\box\\swap\\in.txt", GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        CeCloseHandle(h);
        ASSERT_EQ(CeGetFileAttributes(L"\\Temp\\box\\swap"), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
        ASSERT_TRUE(CeDeleteFile(L"\\Temp\\box\\swap\\in.txt"));
        switch (change) {
            case RemovedByTheDevice:
                ASSERT_TRUE(CeRemoveDirectory(L"\\Temp\\box\\swap") && CeRemoveDirectory(L"\\Temp\\box"));
                break;
            case MovedByTheDevice:
                ASSERT_TRUE(CeMoveFile(L"\\Temp\\box", L"\\Temp\\moved"));
                break;
            case RemovedOnTheDesktop:
                ASSERT_TRUE(RemoveDirectoryW((box + L"\\swap").c_str()) && RemoveDirectoryW(box.c_str()));
                break;
        }
        ASSERT_TRUE(MoveFileW(swapper.c_str(), box.c_str())) << "cannot move the link in";
        EXPECT_EQ(CeGetFileAttributes(L"\\Temp\\box\\swap\\secret.txt"), INVALID_FILE_ATTRIBUTES) << change;
        EXPECT_EQ(CeGetLastError(), 5u) << change;
        h = CeCreateFile(L"\\Temp\\box\\swap\\made.txt", GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        EXPECT_EQ(h, INVALID_HANDLE_VALUE) << change;
        EXPECT_EQ(CeGetLastError(), 5u) << change;
        if (h != INVALID_HANDLE_VALUE) CeCloseHandle(h);
        EXPECT_FALSE(CeCreateDirectory(L"\\Temp\\box\\swap\\sub", nullptr)) << change;
        ASSERT_TRUE(MoveFileW(box.c_str(), swapper.c_str())) << "cannot take the link out again";
        if (change == MovedByTheDevice) {
            EXPECT_TRUE(CeRemoveDirectory(L"\\Temp\\moved\\swap") && CeRemoveDirectory(L"\\Temp\\moved"));
        }
    }
    const std::wstring outside = vorlan::testing::BuildPath(VORLAN_ESCAPE_OUTSIDE);
    EXPECT_EQ(Entries(outside), 1) << "something was created outside the root";
    DeleteFileW((outside + L"\\made.txt").c_str());
    RemoveDirectoryW((outside + L"\\sub").c_str());
}
