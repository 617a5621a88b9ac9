// Hallimor loaded as the installation loads it: its exports by ordinal, the
// guide opened through the shell journal for each kind of InstallDir (in a
// machine key of the test's own), and its registration in classes of the
// test's own.
#include <gtest/gtest.h>

#include <windows.h>
#include <olectl.h>

#include <string>
#include <vector>

#include "TestSupport.h"

namespace {

using vorlan::testing::ReadFileBytes;
using vorlan::testing::ScopedEnvironment;
using vorlan::testing::TempFolder;
using vorlan::testing::UniqueName;
using vorlan::testing::WriteFileBytes;

constexpr char kDefaultFolder[] = "c:\\program files\\Dravenhall\\Vorlan";
constexpr char kGuide[] = "Vorlan Quick Start Guide.mht";
constexpr char kTypeLibKey[] = "TypeLib\\{7159B0C2-8400-4A18-958C-13D22C363288}";

class Hallimor : public ::testing::Test {
protected:
    void SetUp() override {
        module_ = LoadLibraryA(vorlan::testing::WindowsPath(HALLIMOR_PATH).c_str());
        ASSERT_NE(module_, nullptr);
    }
    void TearDown() override { FreeLibrary(module_); }
    FARPROC Export(const char* name) { return GetProcAddress(module_, name); }
    FARPROC Export(WORD ordinal) { return GetProcAddress(module_, MAKEINTRESOURCEA(ordinal)); }
    template <class F>
    F As(FARPROC function) {
        return reinterpret_cast<F>(reinterpret_cast<void*>(function));
    }

    HMODULE module_ = nullptr;
};

// A predefined key of this process pointed at a fresh key of the test's own.
class OwnRoot {
public:
    explicit OwnRoot(HKEY predefined) : predefined_(predefined), path_("Software\\" + UniqueName("HallimorRoot")) {
        RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
        overridden_ = key_ && RegOverridePredefKey(predefined_, key_) == ERROR_SUCCESS;
    }
    ~OwnRoot() {
        RegOverridePredefKey(predefined_, nullptr);
        if (key_) RegCloseKey(key_);
        RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, path_.c_str());
    }
    bool Overridden() const { return overridden_; }

private:
    HKEY predefined_;
    std::string path_;
    HKEY key_ = nullptr;
    bool overridden_ = false;
};

bool KeyExists(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

TEST_F(Hallimor, ExportsItsFiveFunctionsByOrdinal) {
    const char* names[] = {"LaunchQuickGuide", "DllCanUnloadNow", "DllGetClassObject", "DllRegisterServer",
                           "DllUnregisterServer"};
    for (WORD ordinal = 1; ordinal <= 5; ++ordinal) {
        ASSERT_NE(Export(ordinal), nullptr) << ordinal;
        EXPECT_EQ(Export(ordinal), Export(names[ordinal - 1])) << names[ordinal - 1] << " is ordinal " << ordinal;
    }
    EXPECT_EQ(Export(WORD{6}), nullptr);
}

TEST_F(Hallimor, RefusesEveryClassAndCanAlwaysUnload) {
    auto getClass = As<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(Export(3));
    auto canUnload = As<HRESULT(WINAPI*)()>(Export(2));
    const GUID library = {0x7159B0C2, 0x8400, 0x4A18, {0x95, 0x8C, 0x13, 0xD2, 0x2C, 0x36, 0x32, 0x88}};
    for (const GUID& clsid : {library, GUID_NULL, IID_IClassFactory}) {
        void* factory = reinterpret_cast<void*>(1);
        EXPECT_EQ(getClass(clsid, IID_IClassFactory, &factory), CLASS_E_CLASSNOTAVAILABLE);
        EXPECT_EQ(factory, nullptr);
    }
    EXPECT_EQ(getClass(GUID_NULL, IID_IClassFactory, nullptr), E_POINTER);
    EXPECT_EQ(canUnload(), S_OK);
}

// The machine's Dravenhall\Vorlan key and its InstallDir as the case sets
// them, in a machine root of the test's own.
struct InstallDir {
    const char* name;
    bool key;            // the key is there
    DWORD type;          // REG_NONE: no value
    std::string data;    // bytes stored, as they are
    bool readOnly;       // the account may only read it
};

// While it lives, Hallimor's RegOpenKeyExA refuses access beyond reading,
// as Windows does for an account that may not write a key (Wine grants
// every access, so the module's import is what stands in).
class ReadOnlyMachineKeys {
public:
    ReadOnlyMachineKeys(HMODULE module, bool active) {
        if (active) slot_ = ImportSlot(module, "advapi32.dll", "RegOpenKeyExA");
        EXPECT_TRUE(!active || slot_) << "Hallimor imports RegOpenKeyExA";
        if (slot_) Replace(reinterpret_cast<void*>(&ReadOnlyOpen), &original_);
    }
    ~ReadOnlyMachineKeys() {
        if (slot_) Replace(original_, nullptr);
    }

private:
    using Open = LONG(WINAPI*)(HKEY, LPCSTR, DWORD, REGSAM, PHKEY);
    static LONG WINAPI ReadOnlyOpen(HKEY key, LPCSTR path, DWORD options, REGSAM access, PHKEY out) {
        if (access & ~(KEY_READ | KEY_WOW64_64KEY | KEY_WOW64_32KEY)) return ERROR_ACCESS_DENIED;
        return RegOpenKeyExA(key, path, options, access, out);
    }
    // The module's import address slot of dll!function; nullptr if none.
    static void** ImportSlot(HMODULE module, const char* dll, const char* function) {
        auto* base = reinterpret_cast<BYTE*>(module);
        auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
        const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        for (auto* entry = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); entry->Name;
             ++entry) {
            if (lstrcmpiA(reinterpret_cast<char*>(base + entry->Name), dll) != 0) continue;
            auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->OriginalFirstThunk);
            auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
            for (; names->u1.AddressOfData; ++names, ++slots) {
                if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
                auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
                if (lstrcmpA(reinterpret_cast<char*>(byName->Name), function) == 0)
                    return reinterpret_cast<void**>(&slots->u1.Function);
            }
        }
        return nullptr;
    }
    void Replace(void* with, void** was) {
        DWORD protection = 0;
        VirtualProtect(slot_, sizeof *slot_, PAGE_READWRITE, &protection);
        if (was) *was = *slot_;
        *slot_ = with;
        VirtualProtect(slot_, sizeof *slot_, protection, &protection);
    }

    void** slot_ = nullptr;
    void* original_ = nullptr;
};

TEST_F(Hallimor, OpensTheGuideFromTheInstallationFolderAsTheRegistryGivesIt) {
    TempFolder withGuide, withoutGuide;
    WriteFileBytes(withGuide / kGuide, "MIME-Version: 1.0\r\n");
    const std::string journal = withGuide / "shell.txt";
    ScopedEnvironment journalled("VORLAN_SHELL_JOURNAL", journal);
    const DWORD five = 5;
    const std::string longest(MAX_PATH - 1, 'a'), filling(MAX_PATH, 'a');
    const struct {
        InstallDir dir;
        std::string folder;
        bool opened;
    } cases[] = {
        {{"no key", false, REG_NONE, "", false}, kDefaultFolder, false},
        {{"no value", true, REG_NONE, "", false}, kDefaultFolder, false},
        {{"a folder with the guide", true, REG_SZ, withGuide.Path() + '\0', false}, withGuide.Path(), true},
        {{"a folder without it", true, REG_SZ, withoutGuide.Path() + '\0', false}, withoutGuide.Path(), false},
        {{"unterminated", true, REG_SZ, withGuide.Path(), false}, withGuide.Path(), true},
        {{"not expanded", true, REG_EXPAND_SZ, std::string("%TEMP%\\g") + '\0', false}, "%TEMP%\\g", false},
        {{"a DWORD", true, REG_DWORD, std::string(reinterpret_cast<const char*>(&five), 4), false}, kDefaultFolder,
         false},
        {{"300 characters", true, REG_SZ, std::string(300, 'a') + '\0', false}, kDefaultFolder, false},
        {{"259 characters", true, REG_SZ, longest + '\0', false}, longest, false},
        {{"260 unterminated", true, REG_SZ, filling, false}, kDefaultFolder, false},
        {{"empty", true, REG_SZ, std::string(1, '\0'), false}, kDefaultFolder, false},
        {{"read only", true, REG_SZ, withGuide.Path() + '\0', true}, withGuide.Path(), true},
    };
    auto launch = As<int(__cdecl*)()>(Export(1));
    std::string lines;
    for (const auto& c : cases) {
        OwnRoot machine(HKEY_LOCAL_MACHINE);
        ASSERT_TRUE(machine.Overridden()) << c.dir.name;
        if (c.dir.key) {
            // The key, and the value as the case stores it.
            HKEY parent = nullptr, key = nullptr;
            ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Dravenhall", 0, nullptr, 0, KEY_ALL_ACCESS,
                                      nullptr, &parent, nullptr),
                      ERROR_SUCCESS);
            ASSERT_EQ(RegCreateKeyExA(parent, "Vorlan", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                      ERROR_SUCCESS);
            if (c.dir.type != REG_NONE) {
                ASSERT_EQ(RegSetValueExA(key, "InstallDir", 0, c.dir.type,
                                         reinterpret_cast<const BYTE*>(c.dir.data.data()),
                                         static_cast<DWORD>(c.dir.data.size())),
                          ERROR_SUCCESS);
            }
            RegCloseKey(key);
            RegCloseKey(parent);
        }
        // An account that may not write the machine's keys: any open that
        // asks for more than reading is refused.
        ReadOnlyMachineKeys readOnly(module_, c.dir.readOnly);
        const int result = launch();
        EXPECT_EQ(result > 32, c.opened) << c.dir.name << ": " << result;
        lines += std::string(kGuide) + "\t" + c.folder + "\n";
        EXPECT_EQ(ReadFileBytes(journal), lines) << c.dir.name;
    }
}

TEST_F(Hallimor, RegistersAndRemovesOnlyItsEmptyTypeLibrary) {
    auto reg = As<HRESULT(WINAPI*)()>(Export(4));
    auto unregister = As<HRESULT(WINAPI*)()>(Export(5));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, std::string(kTypeLibKey) + "\\1.0\\0\\win64"))
        << "as the installation's regsvr32 left it";
    {
        // In classes of the test's own, so the prefix keeps its registration.
        OwnRoot classes(HKEY_CLASSES_ROOT);
        ASSERT_TRUE(classes.Overridden());
        ASSERT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kTypeLibKey));
        ASSERT_EQ(reg(), S_OK);
        HKEY win64 = nullptr;
        ASSERT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, (std::string(kTypeLibKey) + "\\1.0\\0\\win64").c_str(), 0,
                                KEY_READ, &win64),
                  ERROR_SUCCESS);
        char path[MAX_PATH] = "";
        LONG size = sizeof path;
        EXPECT_EQ(RegQueryValueA(win64, nullptr, path, &size), ERROR_SUCCESS);
        RegCloseKey(win64);
        char module[MAX_PATH] = "";
        GetModuleFileNameA(module_, module, MAX_PATH);
        EXPECT_EQ(lstrcmpiA(path, module), 0) << path;
        // Nothing but the library: no class, no interface.
        std::vector<std::string> written;
        char name[256];
        for (DWORD i = 0; RegEnumKeyA(HKEY_CLASSES_ROOT, i, name, sizeof name) == ERROR_SUCCESS; ++i)
            written.push_back(name);
        ASSERT_EQ(written.size(), 1u);
        EXPECT_EQ(lstrcmpiA(written[0].c_str(), "TypeLib"), 0) << written[0];
        ASSERT_EQ(unregister(), S_OK);
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, std::string(kTypeLibKey) + "\\1.0"));
    }
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, std::string(kTypeLibKey) + "\\1.0\\0\\win64"));
}

}  // namespace
