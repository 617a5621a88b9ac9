// Enumerating the store's items is where the core runs. The core here is a
// stand-in of the test's own, registered for the core's class in this
// process only, which records what the store asks of it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ProviderLibrary.h"
#include "SharedFile.h"
#include "corvath.h"

namespace vorlan::testing {
namespace {

using Calls = std::vector<std::string>;

class RecordingCore final : public IVorlanMain {
public:
    explicit RecordingCore(Calls& calls) : calls_(calls) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        *out = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID_IVorlanMain)
                   ? this
                   : nullptr;
        if (!*out) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) {
            calls_.push_back("Release");
            delete this;
        }
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Init() override {
        calls_.push_back("Init");
        return E_FAIL;  // the store goes on whatever the core answers
    }
    HRESULT STDMETHODCALLTYPE Sync(BSTR url) override {
        calls_.push_back(url ? "Sync url" : "Sync NULL");
        return E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE ConfigurationDlgBox() override {
        calls_.push_back("ConfigurationDlgBox");
        return S_OK;
    }

private:
    Calls& calls_;
    ULONG references_ = 1;
};

// Makes recording cores, or none when fail is set.
class CoreFactory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        *out = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory) ? this : nullptr;
        if (!*out) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID iid, void** out) override {
        *out = nullptr;
        if (fail) return E_FAIL;
        auto* core = new RecordingCore(calls);
        const HRESULT hr = core->QueryInterface(iid, out);
        core->Release();
        if (SUCCEEDED(hr)) calls.push_back("Create");
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

    Calls calls;
    bool fail = false;
};

class ProviderEnumerationTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_HRESULT_SUCCEEDED(com_.Result());
        ASSERT_EQ(CoRegisterClassObject(CLSID_VorlanMain, &factory_, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                                        &registration_),
                  S_OK);
        SetEnvironmentVariableA("VORLAN_MESSAGEBOX_ANSWER", "default");
        SetEnvironmentVariableA("VORLAN_MESSAGEBOX_JOURNAL", boxes_.c_str());
    }
    void TearDown() override {
        CoRevokeClassObject(registration_);
        SetEnvironmentVariableA("VORLAN_MESSAGEBOX_ANSWER", nullptr);
        SetEnvironmentVariableA("VORLAN_MESSAGEBOX_JOURNAL", nullptr);
    }

    // One enumeration as the service manager makes it; the items found.
    std::vector<HREPLITEM> Enumerate(StoreSession& session) {
        std::vector<HREPLITEM> items;
        HREPLITEM item = nullptr;
        BOOL exist = FALSE;
        EXPECT_EQ(session.Store()->FindFirstItem(session.Folder(), &item, &exist), S_OK);
        EXPECT_EQ(exist, item != nullptr);
        // More "next" calls than any enumeration makes: none finds anything.
        for (int i = 0; exist && i < 5; ++i) {
            items.push_back(item);
            item = reinterpret_cast<HREPLITEM>(1);
            EXPECT_EQ(session.Store()->FindNextItem(session.Folder(), &item, &exist), S_OK);
            EXPECT_FALSE(exist) << i;
            EXPECT_EQ(item, nullptr) << i;
        }
        EXPECT_EQ(session.Store()->FindItemClose(session.Folder()), S_OK);
        return items;
    }
    std::vector<std::vector<std::string>> Boxes() const { return ReadJournal(boxes_); }

    ComScope com_;
    CoreFactory factory_;
    DWORD registration_ = 0;
    ProviderLibrary library_;
    std::string boxes_ = library_.Temp() / "boxes.txt";
};

TEST_F(ProviderEnumerationTest, EachEnumerationRunsTheCoreOnceAndFindsOnlyTheMarker) {
    {
        StoreSession session(library_.NewStore());
        ASSERT_NE(session.Store(), nullptr);
        EXPECT_EQ(factory_.calls, Calls{"Create"});  // made with the store, not yet run
        for (int run = 1; run <= 3; ++run) {
            const std::vector<HREPLITEM> items = Enumerate(session);
            ASSERT_EQ(items.size(), 1u) << run;
            std::string bytes(272, '\0');
            session.Store()->ObjectToBytes(items[0], reinterpret_cast<BYTE*>(bytes.data()));
            EXPECT_EQ(bytes.substr(4, bytes.find('\0', 4) - 4), library_.MarkerPath());
            session.Store()->FreeObject(items[0]);
        }
        EXPECT_EQ(factory_.calls,
                  (Calls{"Create", "Init", "Sync NULL", "Init", "Sync NULL", "Init", "Sync NULL"}));

        // The marker gone: no item, and the core is left alone.
        ASSERT_TRUE(DeleteFileA(library_.MarkerPath().c_str()));
        EXPECT_TRUE(Enumerate(session).empty());
        EXPECT_EQ(factory_.calls.size(), 7u);
        {
            // A store made again writes the marker again, and runs again.
            StoreSession next(library_.NewStore());
            const std::vector<HREPLITEM> items = Enumerate(next);
            ASSERT_EQ(items.size(), 1u);
            next.Store()->FreeObject(items[0]);
        }
        EXPECT_EQ(Calls(factory_.calls.begin() + 7, factory_.calls.end()),
                  (Calls{"Create", "Init", "Sync NULL", "Release"}));
        factory_.calls.resize(7);

        // The options are the core's, from a core made for them.
        struct : IEnumReplItem {
            HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
            ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
            ULONG STDMETHODCALLTYPE Release() override { return 1; }
            HRESULT STDMETHODCALLTYPE Next(ULONG, HREPLITEM*, ULONG*) override { return S_FALSE; }
            HRESULT STDMETHODCALLTYPE Skip(ULONG) override { return S_FALSE; }
            HRESULT STDMETHODCALLTYPE Reset() override { return S_OK; }
            HRESULT STDMETHODCALLTYPE Clone(IEnumReplItem**) override { return E_NOTIMPL; }
            HREPLFLD STDMETHODCALLTYPE GetFolderHandle() override { return nullptr; }
        } items;
        const HWND parent = GetDesktopWindow();
        EXPECT_EQ(session.Store()->ActivateDialog(1, parent, session.Folder(), &items), S_OK);  // not a dialog of ours
        EXPECT_EQ(session.Store()->ActivateDialog(0, nullptr, session.Folder(), &items), E_INVALIDARG);
        EXPECT_EQ(factory_.calls.size(), 7u);
        EXPECT_EQ(session.Store()->ActivateDialog(0, parent, session.Folder(), &items), S_OK);
        EXPECT_EQ(Calls(factory_.calls.begin() + 7, factory_.calls.end()),
                  (Calls{"Create", "ConfigurationDlgBox", "Release"}));
    }
    EXPECT_EQ(factory_.calls.back(), "Release");  // the store's own core went with it
    EXPECT_EQ(std::count(factory_.calls.begin(), factory_.calls.end(), "Release"), 2);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(ProviderEnumerationTest, WithoutACoreEachEnumerationSaysSoAndStillFindsTheMarker) {
    factory_.fail = true;
    StoreSession session(library_.NewStore());
    ASSERT_NE(session.Store(), nullptr);
    for (int run = 1; run <= 2; ++run) {
        const std::vector<HREPLITEM> items = Enumerate(session);
        ASSERT_EQ(items.size(), 1u);
        session.Store()->FreeObject(items[0]);
        ASSERT_EQ(Boxes().size(), static_cast<size_t>(run));
        const auto box = Boxes().back();
        ASSERT_GE(box.size(), 4u);
        EXPECT_EQ(box[1], "COM error");
        EXPECT_EQ(box[2], "Fail to create ISyncMain.\nPlease reinstall Vorlan.");
        EXPECT_EQ(std::stoul(box[3], nullptr, 16), static_cast<unsigned long>(MB_OK | MB_ICONERROR));
    }
    EXPECT_TRUE(factory_.calls.empty());
}

}  // namespace
}  // namespace vorlan::testing
