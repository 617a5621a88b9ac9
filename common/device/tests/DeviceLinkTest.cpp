// The device session, the calls into the device library, the symbolic
// folders and the two-sided function table, against an emulated device
// whose folders have German names.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "CeFolders.h"
#include "CeRapi.h"
#include "CeRapiWrapper.h"
#include "SharedDeviceSuite.h"
#include "DeviceInvoke.h"
#include "DeviceSession.h"
#include "SideRegistry.h"

using vorlan::testing::RapiSession;
using vorlan::testing::SharedDeviceSuite;

namespace vorlan {
namespace {

constexpr char kLocalisedProfile[] =
    "DeviceName = Feld-07\n"
    "Folder.2 = \\Windows\\Startmen\xC3\xBC\\Programme\n"
    "Folder.3 = \\Windows\\Steuerung\n"
    "Folder.4 = \\Windows\\Drucker\n"
    "Folder.5 = \\Eigene Dateien\n"
    "Folder.6 = \\Windows\\Favoriten\n"
    "Folder.7 = \\Windows\\Autostart\n"
    "Folder.8 = \\Windows\\Zuletzt verwendet\n"
    "Folder.9 = \\Windows\\Senden an\n"
    "Folder.10 = \\Papierkorb\n"
    "Folder.11 = \\Windows\\Startmen\xC3\xBC\n"
    "Folder.16 = \\Windows\\Desktop\n"
    "Folder.18 = \\Netzwerk\n"
    "Folder.19 = \\Windows\\Netzwerkumgebung\n"
    "Folder.20 = \\Windows\\Schriftarten\n"
    "Folder.21 = \\Windows\\Vorlagen\n";

constexpr char kInstallDir[] = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Apps\\Dravenhall Vorlan\\InstallDir";

LONG SetInstallDir(const void* data, DWORD size, DWORD type = REG_SZ) {
    return SetValueByPath(CQvCERapiWrapper(TRUE), kInstallDir, type, static_cast<const BYTE*>(data), size);
}

LONG SetInstallDir(const std::wstring& folder) {
    return SetInstallDir(folder.c_str(), static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
}

class DeviceLink : public SharedDeviceSuite<DeviceLink> {
public:
    static std::string Profile() { return kLocalisedProfile; }

protected:
    void SetUp() override {
        ASSERT_TRUE(session.Connected());
        ASSERT_EQ(SetInstallDir(L"\\Programme\\Dravenhall Vorlan"), ERROR_SUCCESS);
    }

    // The translation of text, and its return value.
    static std::string Expand(const std::string& text, int* result, DWORD size = 260) {
        std::vector<char> dst(size + 1, 'x');
        *result = ExpandCeFolderVariables(text.c_str(), dst.data(), size);
        return dst.data();
    }

    RapiSession session;
};

TEST_F(DeviceLink, SessionsAreCountedAndClosedOnlyByTheirOwner) {
    bool opened = false;
    EXPECT_EQ(RapiInit(kDeviceWaitMs, &opened), S_OK);
    EXPECT_TRUE(opened);
    EXPECT_EQ(RapiUninit(), S_OK);
    {
        DeviceSession never;  // never opened: its end must not close ours
        DeviceSession nested;
        EXPECT_EQ(nested.Open(), S_OK);
        EXPECT_TRUE(nested.IsOpen());
        EXPECT_EQ(nested.Open(), S_OK);  // opening again replaces its own session
    }
    EXPECT_EQ(CeGetFileAttributes(L"\\Windows"), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
}

TEST_F(DeviceLink, EveryFolderNameGivesTheDevicesOwnFolder) {
    const std::pair<const char*, const char*> cases[] = {
        {"%CE_DESKTOP%", "\\Windows\\Desktop"},
        {"%CE_FAVORITES%", "\\Windows\\Favoriten"},
        {"%CE_FONTS%", "\\Windows\\Schriftarten"},
        {"%CE_MYDOCUMENTS%", "\\Eigene Dateien"},
        {"%CE_STARTMENUPROGRAM%", "\\Windows\\Startmen\xC3\xBC\\Programme"},
        {"%CE_RECENT%", "\\Windows\\Zuletzt verwendet"},
        {"%CE_STARTUP%", "\\Windows\\Autostart"},
        {"%CE_RECYCLEBIN%", "\\Papierkorb"},
        {"%CE_CONTROLS%", "\\Windows\\Steuerung"},
        {"%CE_PRINTERS%", "\\Windows\\Drucker"},
        {"%CE_SENDTO%", "\\Windows\\Senden an"},
        {"%CE_STARTMENU%", "\\Windows\\Startmen\xC3\xBC"},
        {"%CE_NETWORK%", "\\Netzwerk"},
        {"%CE_NETHOOD%", "\\Windows\\Netzwerkumgebung"},
        {"%CE_TEMPLATES%", "\\Windows\\Vorlagen"},
        {"%CE_WINDIR%", "\\Windows"},
        {"%CE_PROGRAMFILES%", "\\Programme"},
    };
    for (const auto& [name, folder] : cases) {
        std::string lower = name;
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        for (const std::string& written : {std::string(name), lower}) {
            int result;
            std::string want = std::string(folder) + "\\a.txt";
            EXPECT_EQ(Expand(written + "\\a.txt", &result), want) << written;
            EXPECT_EQ(result, static_cast<int>(want.size() + 1)) << written;
        }
    }
}

TEST_F(DeviceLink, TextsAndBuffers) {
    struct Case {
        const char* note;
        std::string text;
        DWORD size;
        const char* want;
        int result;
    } const cases[] = {
        {"lower case", "%ce_windir%\\x.exe", 260, "\\Windows\\x.exe", 15},
        {"twice", "%CE_PROGRAMFILES%\\a;%CE_PROGRAMFILES%\\b", 260, "\\Programme\\a;\\Programme\\b", 26},
        {"several names", "%Ce_StartUp%\\l.lnk %CE_MYDOCUMENTS%", 260,
         "\\Windows\\Autostart\\l.lnk \\Eigene Dateien", 41},
        {"unknown name stays", "%CE_SOMEWHERE%\\x", 260, "%CE_SOMEWHERE%\\x", 17},
        {"no name: copied", "\\Temp\\x", 260, "\\Temp\\x", 8},
        {"room for the terminator", "\\Temp\\x", 8, "\\Temp\\x", 8},
        {"no room for the terminator", "\\Temp\\x", 7, "", 8},
        {"translation too long", "%CE_WINDIR%", 8, "", 9},
    };
    for (const Case& c : cases) {
        int result;
        EXPECT_EQ(Expand(c.text, &result, c.size), c.want) << c.note;
        EXPECT_EQ(result, c.result) << c.note;
    }
    char dst[8] = "x";
    EXPECT_EQ(ExpandCeFolderVariables(nullptr, dst, sizeof dst), 0);
    EXPECT_EQ(ExpandCeFolderVariables("a", nullptr, 8), 0);
    EXPECT_EQ(ExpandCeFolderVariables("a", dst, 0), 0);
    EXPECT_STREQ(dst, "x");
}

TEST_F(DeviceLink, InstallationFolder) {
    wchar_t buffer[130];
    DWORD size = sizeof buffer;
    EXPECT_EQ(GetDeviceInstallDir(buffer, &size), 0);
    EXPECT_STREQ(buffer, L"\\Programme");
    EXPECT_EQ(size, sizeof(L"\\Programme"));

    EXPECT_EQ(GetDeviceInstallDir(nullptr, &size), -1);
    EXPECT_EQ(GetDeviceInstallDir(buffer, nullptr), -1);
    size = 0;
    EXPECT_EQ(GetDeviceInstallDir(buffer, &size), -1);

    // Longer than the buffer: refused, never cut into another folder.
    ASSERT_EQ(SetInstallDir(L"\\" + std::wstring(200, L'p') + L"\\Dravenhall Vorlan"), ERROR_SUCCESS);
    size = sizeof buffer;
    EXPECT_EQ(GetDeviceInstallDir(buffer, &size), ERROR_MORE_DATA);
    EXPECT_STREQ(buffer, L"");

    // Stored without its terminator.
    const wchar_t bare[] = {L'\\', L'P', L'F', L'\\', L'x'};
    ASSERT_EQ(SetInstallDir(bare, sizeof bare), ERROR_SUCCESS);
    size = sizeof buffer;
    EXPECT_EQ(GetDeviceInstallDir(buffer, &size), 0);
    EXPECT_STREQ(buffer, L"\\PF");

    DWORD number = 7;
    ASSERT_EQ(SetInstallDir(&number, sizeof number, REG_DWORD), ERROR_SUCCESS);
    size = sizeof buffer;
    EXPECT_EQ(GetDeviceInstallDir(buffer, &size), ERROR_INVALID_DATATYPE);

    ASSERT_EQ(DeleteValueByPath(CQvCERapiWrapper(TRUE), kInstallDir), ERROR_SUCCESS);
    size = sizeof buffer;
    EXPECT_EQ(GetDeviceInstallDir(buffer, &size), ERROR_FILE_NOT_FOUND);
    int result;
    EXPECT_EQ(Expand("%CE_PROGRAMFILES%\\App", &result), "");
    EXPECT_EQ(result, 0) << "no installation folder is a failure, not an empty folder";
    EXPECT_EQ(Expand("%CE_WINDIR%\\a;%CE_PROGRAMFILES%\\b", &result), "");
    EXPECT_EQ(result, 0) << "one folder missing fails the whole text";
}

TEST_F(DeviceLink, DeviceDllsAreRegisteredThroughTheDeviceLibrary) {
    ASSERT_TRUE(device->InstallOstrum());
    ASSERT_TRUE(device->Install(testing::BuildPath(VORLAN_REGISTERING_DLL), L"\\Windows\\reg.dll"));
    // The test DLL's registration leaves this value behind.
    auto registered = [] {
        DWORD value, type, size = sizeof value;
        return QueryValueByPath(CQvCERapiWrapper(TRUE), "HKEY_LOCAL_MACHINE\\SOFTWARE\\RegTest\\Registered",
                                reinterpret_cast<BYTE*>(&value), &type, &size) == ERROR_SUCCESS;
    };
    // The DLL's own failure is not looked at: the call went through.
    EXPECT_EQ(RegisterDeviceDll(L"\\Windows\\reg.dll", TRUE), S_OK);
    EXPECT_TRUE(registered());
    EXPECT_EQ(RegisterDeviceDll(L"\\Windows\\reg.dll", FALSE), S_OK);
    EXPECT_FALSE(registered());
    EXPECT_EQ(RegisterDeviceDll(nullptr, TRUE), E_POINTER);

    std::vector<BYTE> output = {1, 2, 3};
    EXPECT_TRUE(FAILED(InvokeDeviceLibrary(L"NoSuchFunction", "x", 2, &output)));
    EXPECT_TRUE(output.empty());
}

// The same registry calls on either side of the connection.
class SideRegistryTest : public DeviceLink, public ::testing::WithParamInterface<BOOL> {};

TEST_P(SideRegistryTest, KeysAndValuesByPath) {
    CQvCERapiWrapper side(GetParam());
    const std::string key = "HKEY_CURRENT_USER\\Software\\Vorlan Side Test";
    const std::string value = key + "\\Sub\\Name";
    const wchar_t text[] = L"Stra\u00DFe";

    EXPECT_EQ(SetValueByPath(side, value, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text), ERROR_SUCCESS);
    wchar_t read[32] = {};
    DWORD type = 0, size = sizeof read;
    EXPECT_EQ(QueryValueByPath(side, value, reinterpret_cast<BYTE*>(read), &type, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, sizeof text);
    EXPECT_STREQ(read, text);

    EXPECT_EQ(DeleteValueByPath(side, value), ERROR_SUCCESS);
    size = sizeof read;
    EXPECT_EQ(QueryValueByPath(side, value, reinterpret_cast<BYTE*>(read), &type, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(DeleteKeyByPath(side, key + "\\Sub"), ERROR_SUCCESS);
    EXPECT_EQ(DeleteKeyByPath(side, key), ERROR_SUCCESS);
    EXPECT_EQ(DeleteKeyByPath(side, key), ERROR_FILE_NOT_FOUND);

    for (const char* unusable : {"HKEY_CURRENT_USER\\Name", "HKLM\\A\\B", ""}) {
        size = sizeof read;
        EXPECT_EQ(QueryValueByPath(side, unusable, reinterpret_cast<BYTE*>(read), &type, &size), -1) << unusable;
        EXPECT_EQ(SetValueByPath(side, unusable, REG_SZ, nullptr, 0), -1) << unusable;
    }
    EXPECT_EQ(DeleteKeyByPath(side, "HKEY_CURRENT_USER\\Software\\"), ERROR_INVALID_PARAMETER);
}

TEST_P(SideRegistryTest, TheTableIsTheSidesOwn) {
    CQvCERapiWrapper side(GetParam() ? 7 : 0);
    EXPECT_EQ(side.IsDevice(), GetParam());
    // "\Windows" exists on the device only; the desktop has no such folder
    // at the root of its current drive.
    DWORD attributes = side.GetFileAttributes(L"\\Windows\\Autostart");
    if (GetParam()) EXPECT_EQ(attributes, static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    else EXPECT_EQ(attributes, INVALID_FILE_ATTRIBUTES);
}

INSTANTIATE_TEST_SUITE_P(BothSides, SideRegistryTest, ::testing::Values(TRUE, FALSE),
                         [](const auto& info) { return info.param ? "Device" : "Desktop"; });

}  // namespace
}  // namespace vorlan
