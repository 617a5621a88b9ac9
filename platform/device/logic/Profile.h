#pragma once
// The device profile: the facts one emulated device reports. Read from a
// UTF-8 text of "key = value" lines ("#" starts a comment line); keys not
// given keep the defaults below. Special folders are "Folder.<csidl>"
// (an empty value removes one); "Registry.<root>\<key>\<name>" sets a text
// value in the device registry when the device starts (root HKLM or HKCU),
// as an installation would; each "Directory = <device path>" is a folder
// made when the device starts.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace vorlan::device {

struct RegistrySetting {
    uint32_t root;  // see RegistryTree.h
    std::u16string key, name, value;
};

struct DeviceProfile {
    std::u16string deviceName = u"Emulated";
    std::u16string ownerName, ownerCompany, ownerAddress, ownerTelephone, ownerEmail;
    uint32_t osMajor = 4, osMinor = 20, osBuild = 1081, platformId = 3;  // 3: Windows CE
    std::u16string csdVersion;
    uint32_t processorType = 2577;        // StrongARM
    uint32_t processorArchitecture = 5;   // ARM
    uint32_t processorCount = 1, pageSize = 4096, processorLevel = 4, processorRevision = 0;
    uint32_t totalPhys = 64u << 20, availPhys = 40u << 20, memoryLoad = 37;
    uint32_t totalPageFile = 0, availPageFile = 0, totalVirtual = 32u << 20, availVirtual = 30u << 20;
    uint32_t storeSize = 32u << 20, freeSize = 24u << 20;
    std::u16string tempPath = u"\\Temp\\";
    std::map<int, std::u16string> folders = DefaultFolders();
    // Screen facts for the system metrics the desktop asks for.
    int screenWidth = 240, screenHeight = 320;
    std::vector<RegistrySetting> registry;
    std::vector<std::u16string> directories;

    static std::map<int, std::u16string> DefaultFolders();
};

// Applies the lines of text over the defaults. Returns false, with the
// number of the first bad line in badLine, when a line is not "key = value"
// with a known key and a value of the key's kind.
bool ParseProfile(std::string_view text, DeviceProfile& profile, int* badLine = nullptr);

// UTF-8 to UTF-16; invalid sequences become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace vorlan::device
