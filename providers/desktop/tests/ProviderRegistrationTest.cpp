// Registration of the provider, into registry roots of the test's own: the
// process's HKEY_CLASSES_ROOT and HKEY_LOCAL_MACHINE are pointed at fresh
// keys, so the prefix's real registration is left alone.
#include <gtest/gtest.h>

#include <string>

#include "ProviderLibrary.h"

namespace vorlan::testing {
namespace {

const char kClassKey[] = "CLSID\\{0FF60B99-1F79-476b-91BE-32F3C5481E3E}";
const char kObjects[] = "Software\\Microsoft\\Windows CE Services\\Services\\Synchronization\\Objects";
const std::string kType = std::string(kObjects) + "\\Vorlan";

class ProviderRegistrationTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string base = "Software\\" + UniqueName("VorlanProviderTest");
        base_ = base;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (base + "\\classes").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &classes_, nullptr), ERROR_SUCCESS);
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (base + "\\machine").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &machine_, nullptr), ERROR_SUCCESS);
        ASSERT_EQ(RegOverridePredefKey(HKEY_CLASSES_ROOT, classes_), ERROR_SUCCESS);
        ASSERT_EQ(RegOverridePredefKey(HKEY_LOCAL_MACHINE, machine_), ERROR_SUCCESS);
        ASSERT_TRUE(Create(HKEY_CLASSES_ROOT, "CLSID"));
    }
    void TearDown() override {
        RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
        RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
        RegCloseKey(classes_);
        RegCloseKey(machine_);
        RegDeleteTreeA(HKEY_CURRENT_USER, base_.c_str());
    }

    static bool Create(HKEY root, const std::string& path) {
        HKEY key = nullptr;
        if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
            ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }
    static bool Exists(HKEY root, const std::string& path) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
        RegCloseKey(key);
        return true;
    }
    // A string value; "<absent>" when there is none.
    static std::string Text(HKEY root, const std::string& path, const char* name) {
        char value[600];
        DWORD size = sizeof value;
        if (RegGetValueA(root, path.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
            return "<absent>";
        return value;
    }

    ComScope com_;
    ProviderLibrary library_;
    std::string base_;
    HKEY classes_ = nullptr, machine_ = nullptr;
};

TEST_F(ProviderRegistrationTest, WritesTheClassAndTheObjectType) {
    // ActiveSync's objects key is ActiveSync's to create.
    EXPECT_EQ(library_.Register(), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    EXPECT_TRUE(Exists(HKEY_CLASSES_ROOT, "Dravenhall.Vorlan"));  // what came before stays
    EXPECT_FALSE(Exists(HKEY_LOCAL_MACHINE, kType));

    ASSERT_TRUE(Create(HKEY_LOCAL_MACHINE, kObjects));
    ASSERT_EQ(library_.Register(), S_OK);
    const std::string module = library_.ModulePath();
    struct Case { HKEY root; std::string path; const char* name; std::string value; };
    const Case cases[] = {
        {HKEY_CLASSES_ROOT, std::string(kClassKey) + "\\InprocServer32", nullptr, module},
        {HKEY_CLASSES_ROOT, std::string(kClassKey) + "\\InprocServer32", "ThreadingModel", "<absent>"},
        {HKEY_CLASSES_ROOT, std::string(kClassKey) + "\\ProgId", nullptr, "Dravenhall.Vorlan"},
        {HKEY_CLASSES_ROOT, "Dravenhall.Vorlan\\CLSID", nullptr, "{0FF60B99-1F79-476b-91BE-32F3C5481E3E}"},
        {HKEY_CLASSES_ROOT, "Dravenhall.Vorlan", nullptr, "Vorlan"},
        {HKEY_CLASSES_ROOT, "Dravenhall.Vorlan", "Display Name", "Dravenhall Sync"},
        {HKEY_LOCAL_MACHINE, kType, nullptr, "Vorlan Object"},
        {HKEY_LOCAL_MACHINE, kType, "Display Name", "Vorlan"},
        {HKEY_LOCAL_MACHINE, kType, "Plural Name", "Vorlan Items"},
        {HKEY_LOCAL_MACHINE, kType, "Store", "Dravenhall.Vorlan"},
        {HKEY_LOCAL_MACHINE, kType, "DefaultIcon", module + ", -101"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Text(c.root, c.path, c.name), c.value) << c.path << " " << (c.name ? c.name : "(default)");

    ASSERT_EQ(library_.Unregister(), S_OK);
    EXPECT_FALSE(Exists(HKEY_CLASSES_ROOT, kClassKey));
    EXPECT_FALSE(Exists(HKEY_CLASSES_ROOT, "Dravenhall.Vorlan"));
    EXPECT_FALSE(Exists(HKEY_LOCAL_MACHINE, kType));
    EXPECT_TRUE(Exists(HKEY_LOCAL_MACHINE, kObjects));  // ActiveSync's stays
    EXPECT_EQ(library_.Unregister(), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));  // nothing there to remove
}

TEST_F(ProviderRegistrationTest, UnregistrationStopsAtTheFirstKeyItCannotDelete) {
    ASSERT_TRUE(Create(HKEY_LOCAL_MACHINE, kObjects));
    ASSERT_EQ(library_.Register(), S_OK);
    // A subkey with its own subkey cannot be deleted by itself; it would be
    // found first again and again.
    ASSERT_TRUE(Create(HKEY_CLASSES_ROOT, std::string(kClassKey) + "\\AAA\\Deeper"));
    const HRESULT hr = library_.Unregister();
    EXPECT_TRUE(FAILED(hr)) << std::hex << hr;
    EXPECT_EQ(HRESULT_FACILITY(hr), FACILITY_WIN32) << std::hex << hr;
    EXPECT_TRUE(Exists(HKEY_CLASSES_ROOT, std::string(kClassKey) + "\\AAA\\Deeper"));
    EXPECT_TRUE(Exists(HKEY_CLASSES_ROOT, "Dravenhall.Vorlan"));  // the sequence stopped there
    EXPECT_TRUE(Exists(HKEY_LOCAL_MACHINE, kType));
}

}  // namespace
}  // namespace vorlan::testing
