// CeUtil.dll, loaded and bound by name as its callers do, over the registry
// keys of the connected device's partnership, which the service manager
// reads.
#include <gtest/gtest.h>

#include <string>

#include "CeUtil.h"
#include "ServiceKeys.h"
#include "TestSupport.h"

namespace vorlan::testing {
namespace {

class CeUtilTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(library_, nullptr);
        open_ = reinterpret_cast<CeSvcOpenProc>(GetProcAddress(library_, "CeSvcOpen"));
        close_ = reinterpret_cast<CeSvcCloseProc>(GetProcAddress(library_, "CeSvcClose"));
        set_ = reinterpret_cast<CeSvcSetDwordProc>(GetProcAddress(library_, "CeSvcSetDword"));
        get_ = reinterpret_cast<CeSvcGetDwordProc>(GetProcAddress(library_, "CeSvcGetDword"));
        ASSERT_TRUE(open_ && close_ && set_ && get_);
        ASSERT_EQ(Connect(kPartner), ERROR_SUCCESS);
    }
    void TearDown() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, PartnerKey(kPartner).c_str());
        Disconnect();
        FreeLibrary(library_);
    }
    // The partnership the service manager names while a device is connected.
    static LONG Connect(DWORD partner) {
        return RegSetKeyValueA(HKEY_CURRENT_USER, activesync::kPartnersKey, activesync::kCurrentPartnerValue,
                               REG_DWORD, &partner, sizeof partner);
    }
    static void Disconnect() {
        RegDeleteKeyValueA(HKEY_CURRENT_USER, activesync::kPartnersKey, activesync::kCurrentPartnerValue);
    }
    static std::string PartnerKey(DWORD partner) {
        return std::string(activesync::kPartnersKey) + "\\P" + std::to_string(partner);
    }
    static constexpr DWORD kPartner = 7391;

    HMODULE library_ = LoadLibraryA("CeUtil.Dll");
    CeSvcOpenProc open_ = nullptr;
    CeSvcCloseProc close_ = nullptr;
    CeSvcSetDwordProc set_ = nullptr;
    CeSvcGetDwordProc get_ = nullptr;
    std::string name_ = UniqueName("CeUtilTest");
    std::string path_ = name_ + "\\Objects\\Type";
};

TEST_F(CeUtilTest, DwordsRoundTripThroughTheRegistry) {
    HCESVC service = reinterpret_cast<HCESVC>(1);
    EXPECT_EQ(open_(CESVC_SYNCHRONIZATION, path_.data(), FALSE, &service), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(service, nullptr);
    ASSERT_EQ(open_(CESVC_SYNCHRONIZATION, path_.data(), TRUE, &service), S_OK);
    ASSERT_NE(service, nullptr);
    DWORD value = 77;
    EXPECT_EQ(get_(service, "Disabled", &value), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(value, 77u);
    ASSERT_EQ(set_(service, "Disabled", 1), S_OK);
    ASSERT_EQ(get_(service, "Disabled", &value), S_OK);
    EXPECT_EQ(value, 1u);
    ASSERT_EQ(set_(service, "Disabled", 0xFFFFFFFF), S_OK);
    ASSERT_EQ(close_(service), S_OK);

    // What was set is in the partnership's keys, where the service manager
    // reads it...
    const std::string key = PartnerKey(kPartner) + "\\" + activesync::kPartnerSynchronizationKey + "\\" + path_;
    DWORD stored = 0, size = sizeof stored;
    ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, key.c_str(), "Disabled", RRF_RT_REG_DWORD, nullptr, &stored, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(stored, 0xFFFFFFFFu);
    // ... and opening without creating finds it again.
    ASSERT_EQ(open_(CESVC_SYNCHRONIZATION, path_.data(), FALSE, &service), S_OK);
    ASSERT_EQ(get_(service, "Disabled", &value), S_OK);
    EXPECT_EQ(value, 0xFFFFFFFFu);
    EXPECT_EQ(close_(service), S_OK);
}

// Each partnership has keys of its own; with no device connected there is
// none to open, with or without creating.
TEST_F(CeUtilTest, TheRootIsTheConnectedDevicesPartnership) {
    HCESVC service = nullptr;
    ASSERT_EQ(open_(CESVC_SYNCHRONIZATION, path_.data(), TRUE, &service), S_OK);
    ASSERT_EQ(set_(service, "Disabled", 1), S_OK);
    ASSERT_EQ(close_(service), S_OK);

    ASSERT_EQ(Connect(kPartner + 1), ERROR_SUCCESS);
    EXPECT_EQ(open_(CESVC_SYNCHRONIZATION, path_.data(), FALSE, &service), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    RegDeleteTreeA(HKEY_CURRENT_USER, PartnerKey(kPartner + 1).c_str());

    Disconnect();
    for (BOOL create : {FALSE, TRUE}) {
        service = reinterpret_cast<HCESVC>(1);
        EXPECT_EQ(open_(CESVC_SYNCHRONIZATION, path_.data(), create, &service), HRESULT_FROM_WIN32(ERROR_NOT_CONNECTED))
            << "create " << create;
        EXPECT_EQ(service, nullptr);
    }
    HKEY made = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, PartnerKey(kPartner + 1).c_str(), 0, KEY_READ, &made),
              ERROR_FILE_NOT_FOUND);

    ASSERT_EQ(Connect(kPartner), ERROR_SUCCESS);
    DWORD value = 0;
    ASSERT_EQ(open_(CESVC_SYNCHRONIZATION, path_.data(), FALSE, &service), S_OK);
    EXPECT_EQ(get_(service, "Disabled", &value), S_OK);
    EXPECT_EQ(value, 1u);
    EXPECT_EQ(close_(service), S_OK);
}

TEST_F(CeUtilTest, WrongArgumentsAndValuesAreRefused) {
    HCESVC service = nullptr;
    EXPECT_EQ(open_(4, path_.data(), TRUE, &service), E_INVALIDARG);  // a root it does not know
    EXPECT_EQ(service, nullptr);
    EXPECT_EQ(open_(CESVC_SYNCHRONIZATION, path_.data(), TRUE, nullptr), E_INVALIDARG);
    EXPECT_EQ(close_(nullptr), E_INVALIDARG);
    EXPECT_EQ(set_(nullptr, "Disabled", 1), E_INVALIDARG);
    DWORD value = 0;
    EXPECT_EQ(get_(nullptr, "Disabled", &value), E_INVALIDARG);

    ASSERT_EQ(open_(CESVC_SYNCHRONIZATION, path_.data(), TRUE, &service), S_OK);
    EXPECT_EQ(get_(service, "Disabled", nullptr), E_INVALIDARG);
    const char text[] = "1";
    ASSERT_EQ(RegSetValueExA(service, "Text", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text),
              ERROR_SUCCESS);
    const BYTE wide[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    ASSERT_EQ(RegSetValueExA(service, "Wide", 0, REG_BINARY, wide, sizeof wide), ERROR_SUCCESS);
    EXPECT_EQ(get_(service, "Text", &value), HRESULT_FROM_WIN32(ERROR_DATATYPE_MISMATCH));
    EXPECT_EQ(get_(service, "Wide", &value), HRESULT_FROM_WIN32(ERROR_DATATYPE_MISMATCH));
    EXPECT_EQ(value, 0u);
    EXPECT_EQ(close_(service), S_OK);
}

}  // namespace
}  // namespace vorlan::testing
