// The remote API's file and folder functions against an emulated device.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CeRapi.h"
#include "DeviceEmulator.h"

using vorlan::testing::DeviceEmulator;
using vorlan::testing::RapiSession;

namespace {

class RapiFiles : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        device = new DeviceEmulator;
        device->UseForRapi();
    }
    static void TearDownTestSuite() {
        delete device;
        device = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(session.Connected()); }

    // Writes a device file through the remote API.
    static bool Put(const wchar_t* path, const std::string& bytes, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
        HANDLE h = CeCreateFile(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr);
        if (h == INVALID_HANDLE_VALUE) return false;
        DWORD written = 0;
        BOOL ok = CeWriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        return CeCloseHandle(h) && ok && written == bytes.size();
    }
    static std::string Get(const wchar_t* path) {
        HANDLE h = CeCreateFile(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE) return "<" + std::to_string(CeGetLastError()) + ">";
        std::string bytes(CeGetFileSize(h, nullptr), '\0');
        DWORD got = 0;
        CeReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
        CeCloseHandle(h);
        bytes.resize(got);
        return bytes;
    }

    static DeviceEmulator* device;
    RapiSession session;
};
DeviceEmulator* RapiFiles::device = nullptr;

}  // namespace

TEST_F(RapiFiles, WriteReadAndTheHostFile) {
    std::string big(3 * 1024 * 1024 + 17, '\0');  // more than one frame's worth
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
    ASSERT_TRUE(Put(L"\\My Documents\\big.bin", big));
    EXPECT_EQ(Get(L"\\My Documents\\big.bin"), big);
    EXPECT_EQ(CeGetFileAttributes(L"\\My Documents\\big.bin") & FILE_ATTRIBUTE_DIRECTORY, 0u);
    WIN32_FILE_ATTRIBUTE_DATA host;
    ASSERT_TRUE(GetFileAttributesExW(device->HostPath(L"\\My Documents\\big.bin").c_str(), GetFileExInfoStandard, &host));
    EXPECT_EQ(host.nFileSizeLow, big.size());
    EXPECT_EQ(CeGetFileAttributes(L"\\"), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
}
