// The document's tables by tree item and URL, and the default project.
#include "BrovikDoc.h"
#include "DocumentFixture.h"

namespace vorlan::editor::testing {
namespace {

class DocumentTest : public DocumentSuite {};

TEST_F(DocumentTest, TablesByItemAndUrl) {
    const std::string a = Put("a.xml", TableText("\t<RecorderSync Name=\"a\"/>\n"));
    const std::string b = Put("b.xml", TableText("\t<RecorderSync Name=\"b\"/>\n"));
    CBrovikDoc doc;
    // Handles that differ only above 32 bits are different items.
    const HTREEITEM first = reinterpret_cast<HTREEITEM>(std::uintptr_t{0x100000010});
    const HTREEITEM second = reinterpret_cast<HTREEITEM>(std::uintptr_t{0x200000010});
    doc.AddPlugin(first, Open(a));
    doc.AddPlugin(second, Open(b));
    ASSERT_NE(doc.GetPlugin(first), nullptr);
    EXPECT_EQ(doc.GetPlugin(first)->GetUrl(), a);
    EXPECT_EQ(doc.GetPlugin(second)->GetUrl(), b);
    EXPECT_EQ(doc.GetPlugin(reinterpret_cast<HTREEITEM>(std::uintptr_t{0x10})), nullptr);

    std::string url = "untouched";
    EXPECT_FALSE(doc.GetPluginUrl(reinterpret_cast<HTREEITEM>(std::uintptr_t{0x10}), url));
    EXPECT_EQ(url, "untouched");
    EXPECT_TRUE(doc.GetPluginUrl(second, url));
    EXPECT_EQ(url, b);

    std::string upper = a;
    CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
    const struct {
        std::string url;
        BOOL counted;  // without regard to case
        BOOL found;    // byte for byte
        HTREEITEM item;
    } cases[] = {
        {a, TRUE, TRUE, first},
        {upper, TRUE, FALSE, nullptr},
        {b, TRUE, TRUE, second},
        {folder_ / "c.xml", FALSE, FALSE, nullptr},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(doc.CountPluginsWithUrl(c.url), c.counted) << c.url;
        HTREEITEM item = nullptr;
        EXPECT_EQ(doc.FindPluginByUrl(c.url, &item), c.found) << c.url;
        EXPECT_EQ(item, c.item) << c.url;
    }

    doc.RemovePlugin(first);
    EXPECT_EQ(doc.GetPlugin(first), nullptr);
    EXPECT_FALSE(doc.CountPluginsWithUrl(a));
    doc.DeleteAllPlugins();
    EXPECT_EQ(doc.GetPlugin(second), nullptr);
}

// The setting in both hives, put back as it was afterwards.
class ScopedPluginConfig {
public:
    ScopedPluginConfig() {
        for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) old_.push_back(Read(root));
    }
    ~ScopedPluginConfig() {
        Write(HKEY_CURRENT_USER, old_[0]);
        Write(HKEY_LOCAL_MACHINE, old_[1]);
    }
    static void Write(HKEY root, const std::optional<std::string>& value) {
        HKEY key = nullptr;
        if (RegCreateKeyExA(root, kKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS) return;
        if (value)
            RegSetValueExA(key, "PluginConfig", 0, REG_SZ, reinterpret_cast<const BYTE*>(value->c_str()),
                           static_cast<DWORD>(value->size() + 1));
        else
            RegDeleteValueA(key, "PluginConfig");
        RegCloseKey(key);
    }

private:
    static std::optional<std::string> Read(HKEY root) {
        std::string text(2048, '\0');
        DWORD size = static_cast<DWORD>(text.size());
        if (RegGetValueA(root, kKey, "PluginConfig", RRF_RT_REG_SZ, nullptr, text.data(), &size) != ERROR_SUCCESS)
            return std::nullopt;
        text.resize(size ? size - 1 : 0);
        return text;
    }
    static constexpr char kKey[] = "SOFTWARE\\Dravenhall\\Vorlan";
    std::vector<std::optional<std::string>> old_;
};

TEST_F(DocumentTest, DefaultProjectUserBeforeMachineExpanded) {
    ScopedPluginConfig saved;
    SetEnvironmentVariableA("VORLAN_DOC_TEST_DIR", "C:\\projects");
    const std::string long259(259, 'p');
    const std::string long260(260, 'p');
    const struct {
        const char* what;
        std::optional<std::string> user, machine;
        HRESULT result;
        std::string path;
    } cases[] = {
        {"both", "C:\\user.xml", "C:\\machine.xml", S_OK, "C:\\user.xml"},
        {"machine only", std::nullopt, "C:\\machine.xml", S_OK, "C:\\machine.xml"},
        {"expanded", "%VORLAN_DOC_TEST_DIR%\\top.xml", std::nullopt, S_OK, "C:\\projects\\top.xml"},
        {"absent", std::nullopt, std::nullopt, S_OK, ""},
        {"259 characters", long259, std::nullopt, S_OK, long259},
        {"260 characters", long260, std::nullopt, HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE), ""},
        {"too long once expanded", "%VORLAN_DOC_TEST_DIR%" + std::string(250, 'q'), std::nullopt,
         HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE), ""},
    };
    for (const auto& c : cases) {
        ScopedPluginConfig::Write(HKEY_CURRENT_USER, c.user);
        ScopedPluginConfig::Write(HKEY_LOCAL_MACHINE, c.machine);
        std::string path = "stale";
        EXPECT_EQ(CBrovikDoc::GetPluginConfigPath(path), c.result) << c.what;
        EXPECT_EQ(path, c.path) << c.what;
    }
    SetEnvironmentVariableA("VORLAN_DOC_TEST_DIR", nullptr);
}

}  // namespace
}  // namespace vorlan::editor::testing
