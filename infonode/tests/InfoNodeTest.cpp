#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "Bstr.h"
#include "ComPtr.h"
#include "TestSupport.h"
#include "pindrel.h"

using vorlan::com::Bstr;
using vorlan::com::ComPtr;

namespace {

class InfoNodeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_HRESULT_SUCCEEDED(com_.Result());
        ASSERT_HRESULT_SUCCEEDED(vorlan::com::CreateInstance(CLSID_InfoNode, node_));
    }

    std::string Get(const char* key) {
        Bstr value;
        EXPECT_EQ(node_->GetProperty(Bstr::FromAnsi(key).Get(), value.Put()), S_OK);
        EXPECT_NE(value.Get(), nullptr);
        return value.Ansi();
    }
    void Set(const char* key, const char* value) {
        EXPECT_EQ(node_->SetAt(Bstr::FromAnsi(key).Get(), Bstr::FromAnsi(value).Get()), S_OK);
    }
    std::pair<std::string, int> Translate(const char* text) {
        Bstr out;
        int rc = -1;
        EXPECT_EQ(node_->TranslateStrWithVars(Bstr::FromAnsi(text).Get(), out.Put(), &rc), S_OK);
        return {out.Ansi(), rc};
    }

    vorlan::testing::ComScope com_;
    ComPtr<IInfoNode> node_;
};

TEST_F(InfoNodeTest, KeysAreCaseSensitiveAndSetReplaces) {
    Set("A", "1");
    Set("a", "2");
    EXPECT_EQ(Get("A"), "1");
    EXPECT_EQ(Get("a"), "2");
    Set("A", "3");
    EXPECT_EQ(Get("A"), "3");
}

TEST_F(InfoNodeTest, ReadingAnAbsentKeyAddsItWithAnEmptyValue) {
    EXPECT_EQ(Translate("x%missing%y"), std::make_pair(std::string("x%missing%y"), 0));
    EXPECT_EQ(Get("missing"), "");
    // The read added the key, so the variable now expands to nothing.
    EXPECT_EQ(Translate("x%missing%y"), std::make_pair(std::string("xy"), 0));
}

TEST_F(InfoNodeTest, TranslateExpandsKeysThenLineFeedsAndTabs) {
    EXPECT_EQ(Translate("%newln%%tab%"), std::make_pair(std::string("\n\t"), 0));
    Set("A", "v");
    EXPECT_EQ(Translate("%A%%A%"), std::make_pair(std::string("vv"), 1));
    Set("tab", "T");
    EXPECT_EQ(Translate("%tab%"), std::make_pair(std::string("T"), 1));
}

TEST_F(InfoNodeTest, NullOutPointersAreRefused) {
    EXPECT_EQ(node_->GetProperty(nullptr, nullptr), E_POINTER);
    int rc = 0;
    EXPECT_EQ(node_->TranslateStrWithVars(nullptr, nullptr, &rc), E_POINTER);
}

TEST_F(InfoNodeTest, NullBstrsAreEmptyStrings) {
    EXPECT_EQ(node_->SetAt(nullptr, nullptr), S_OK);
    EXPECT_EQ(Get(""), "");
}

TEST_F(InfoNodeTest, NonAsciiTextSurvives) {
    const char* text = "\xC3\xA9t\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC";  // UTF-8, the ANSI code page
    ASSERT_EQ(GetACP(), static_cast<UINT>(CP_UTF8));
    Set("name", text);
    EXPECT_EQ(Get("name"), text);
}

TEST_F(InfoNodeTest, AnswersItsInterfacesOnly) {
    ComPtr<IDispatch> dispatch;
    EXPECT_EQ(node_.As(dispatch), S_OK);
    ComPtr<IUnknown> unknown;
    EXPECT_EQ(node_.As(unknown), S_OK);
    ComPtr<IClassFactory> factory;
    EXPECT_EQ(node_.As(factory), E_NOINTERFACE);
    // One reference held by node_, one by each pointer obtained above.
    node_->AddRef();
    EXPECT_EQ(node_->Release(), 3u);
}

TEST_F(InfoNodeTest, WorksThroughIDispatch) {
    ComPtr<IDispatch> dispatch;
    ASSERT_EQ(node_.As(dispatch), S_OK);
    auto id = [&](const wchar_t* name) {
        DISPID dispid = DISPID_UNKNOWN;
        LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
        EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &dispid), S_OK);
        return dispid;
    };
    EXPECT_EQ(id(L"GetProperty"), 1);
    EXPECT_EQ(id(L"SetAt"), 2);
    EXPECT_EQ(id(L"TranslateStrWithVars"), 3);

    // SetAt("K", "v"): arguments go in reverse order.
    VARIANT args[2];
    VariantInit(&args[0]);
    VariantInit(&args[1]);
    args[1].vt = VT_BSTR;
    args[1].bstrVal = SysAllocString(L"K");
    args[0].vt = VT_BSTR;
    args[0].bstrVal = SysAllocString(L"v");
    DISPPARAMS params = {args, nullptr, 2, 0};
    EXPECT_EQ(dispatch->Invoke(2, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                               nullptr, nullptr, nullptr),
              S_OK);
    VariantClear(&args[0]);
    VariantClear(&args[1]);

    // TranslateStrWithVars("<%K%>", &out) returns the code as its value.
    BSTR out = nullptr;
    VARIANT targs[2];
    VariantInit(&targs[0]);
    VariantInit(&targs[1]);
    targs[1].vt = VT_BSTR;
    targs[1].bstrVal = SysAllocString(L"<%K%>");
    targs[0].vt = VT_BSTR | VT_BYREF;
    targs[0].pbstrVal = &out;
    DISPPARAMS tparams = {targs, nullptr, 2, 0};
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(dispatch->Invoke(3, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &tparams,
                               &result, nullptr, nullptr),
              S_OK);
    EXPECT_EQ(result.vt, VT_I4);
    EXPECT_EQ(result.lVal, 1);
    EXPECT_STREQ(out, L"<v>");
    SysFreeString(out);
    VariantClear(&targs[1]);
}

TEST_F(InfoNodeTest, BothProgIdsNameTheClass) {
    for (const wchar_t* progId : {L"Pindrel.InfoNode", L"Pindrel.InfoNode.1"}) {
        CLSID clsid = {};
        ASSERT_EQ(CLSIDFromProgID(progId, &clsid), S_OK);
        EXPECT_TRUE(IsEqualCLSID(clsid, CLSID_InfoNode));
        ComPtr<IInfoNode> node;
        EXPECT_EQ(vorlan::com::CreateInstance(clsid, node), S_OK);
    }
}

std::string RegString(const std::string& key, const char* name = nullptr) {
    char value[512] = {};
    LONG size = sizeof value;
    if (!name) {
        if (RegQueryValueA(HKEY_CLASSES_ROOT, key.c_str(), value, &size) != ERROR_SUCCESS)
            return "<absent>";
        return value;
    }
    HKEY k;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
        return "<absent>";
    DWORD n = sizeof value;
    LONG rc = RegQueryValueExA(k, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &n);
    RegCloseKey(k);
    return rc == ERROR_SUCCESS ? value : "<absent>";
}

bool KeyExists(const std::string& key) {
    HKEY k;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
        return false;
    RegCloseKey(k);
    return true;
}

const std::string kClassKey = "CLSID\\{433F499B-E11A-4D51-B955-FF1703940579}";

void ExpectRegistered(const std::string& modulePath) {
    EXPECT_EQ(RegString("Pindrel.InfoNode.1"), "InfoNode Class");
    EXPECT_EQ(RegString("Pindrel.InfoNode.1\\CLSID"), "{433F499B-E11A-4D51-B955-FF1703940579}");
    EXPECT_EQ(RegString("Pindrel.InfoNode"), "InfoNode Class");
    EXPECT_EQ(RegString("Pindrel.InfoNode\\CLSID"), "{433F499B-E11A-4D51-B955-FF1703940579}");
    EXPECT_EQ(RegString("Pindrel.InfoNode\\CurVer"), "Pindrel.InfoNode.1");
    EXPECT_EQ(RegString(kClassKey), "InfoNode Class");
    EXPECT_EQ(RegString(kClassKey + "\\ProgID"), "Pindrel.InfoNode.1");
    EXPECT_EQ(RegString(kClassKey + "\\VersionIndependentProgID"), "Pindrel.InfoNode");
    EXPECT_TRUE(KeyExists(kClassKey + "\\Programmable"));
    EXPECT_EQ(lstrcmpiA(RegString(kClassKey + "\\InprocServer32").c_str(), modulePath.c_str()), 0);
    EXPECT_EQ(RegString(kClassKey + "\\InprocServer32", "ThreadingModel"), "Apartment");
    EXPECT_EQ(RegString(kClassKey + "\\TypeLib"), "{4AD67DB0-AFD5-411F-B437-CF8E9CA3F606}");
    EXPECT_TRUE(KeyExists("TypeLib\\{4AD67DB0-AFD5-411F-B437-CF8E9CA3F606}\\1.0"));
}

class PindrelModuleTest : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = vorlan::testing::WindowsPath(PINDREL_PATH);
        module_ = LoadLibraryA(path_.c_str());
        ASSERT_NE(module_, nullptr);
    }
    void TearDown() override { FreeLibrary(module_); }
    template <class F>
    F Export(const char* name) {
        return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
    }

    vorlan::testing::ComScope com_;
    std::string path_;
    HMODULE module_ = nullptr;
};

TEST_F(PindrelModuleTest, UnregistersAndRegistersAgain) {
    ExpectRegistered(path_);
    // In classes of the test's own, so the registration every other test
    // program of the run creates objects through stays as it is.
    const std::string own = "Software\\" + vorlan::testing::UniqueName("PindrelClasses");
    HKEY classes = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, own.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &classes,
                              nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegOverridePredefKey(HKEY_CLASSES_ROOT, classes), ERROR_SUCCESS);
    ASSERT_FALSE(KeyExists(kClassKey)) << "the test's classes start empty";
    auto unregister = Export<HRESULT(WINAPI*)()>("DllUnregisterServer");
    auto reg = Export<HRESULT(WINAPI*)()>("DllRegisterServer");
    ASSERT_TRUE(unregister && reg);
    ASSERT_EQ(reg(), S_OK);
    ExpectRegistered(path_);
    ASSERT_EQ(unregister(), S_OK);
    for (const std::string& key : {std::string("Pindrel.InfoNode.1"), std::string("Pindrel.InfoNode"), kClassKey})
        EXPECT_FALSE(KeyExists(key)) << key;
    EXPECT_FALSE(KeyExists("TypeLib\\{4AD67DB0-AFD5-411F-B437-CF8E9CA3F606}\\1.0"));
    ASSERT_EQ(reg(), S_OK);
    ExpectRegistered(path_);
    RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
    RegCloseKey(classes);
    RegDeleteTreeA(HKEY_CURRENT_USER, own.c_str());
    ExpectRegistered(path_);
}

TEST_F(PindrelModuleTest, CanUnloadOnlyWithoutObjectsOrLocks) {
    auto getClass = Export<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>("DllGetClassObject");
    auto canUnload = Export<HRESULT(WINAPI*)()>("DllCanUnloadNow");
    ASSERT_TRUE(getClass && canUnload);
    EXPECT_EQ(canUnload(), S_OK);

    ComPtr<IClassFactory> factory;
    ASSERT_EQ(getClass(CLSID_InfoNode, IID_IClassFactory, factory.PutVoid()), S_OK);
    ComPtr<IInfoNode> node;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IInfoNode, node.PutVoid()), S_OK);
    // Aggregation may only ask for IUnknown.
    ComPtr<IInfoNode> refused;
    EXPECT_EQ(factory->CreateInstance(node.Get(), IID_IInfoNode, refused.PutVoid()),
              CLASS_E_NOAGGREGATION);
    ASSERT_EQ(factory->LockServer(TRUE), S_OK);
    factory.Reset();
    EXPECT_EQ(canUnload(), S_FALSE);
    node.Reset();
    EXPECT_EQ(canUnload(), S_FALSE);  // the lock remains
    ComPtr<IClassFactory> again;
    ASSERT_EQ(getClass(CLSID_InfoNode, IID_IClassFactory, again.PutVoid()), S_OK);
    ASSERT_EQ(again->LockServer(FALSE), S_OK);
    again.Reset();
    EXPECT_EQ(canUnload(), S_OK);

    EXPECT_EQ(getClass(IID_IInfoNode, IID_IClassFactory, again.PutVoid()),
              CLASS_E_CLASSNOTAVAILABLE);
}

TEST_F(PindrelModuleTest, AggregatedObjectAnswersThroughItsInnerUnknown) {
    // A minimal outer object: it only counts references.
    struct Outer : IUnknown {
        LONG refs = 1;
        STDMETHODIMP QueryInterface(REFIID, void** out) override { *out = nullptr; return E_NOINTERFACE; }
        STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
        STDMETHODIMP_(ULONG) Release() override { return --refs; }
    } outer;
    auto getClass = Export<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>("DllGetClassObject");
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(getClass(CLSID_InfoNode, IID_IClassFactory, factory.PutVoid()), S_OK);
    IUnknown* inner = nullptr;
    ASSERT_EQ(factory->CreateInstance(&outer, IID_IUnknown, reinterpret_cast<void**>(&inner)), S_OK);
    IInfoNode* node = nullptr;
    ASSERT_EQ(inner->QueryInterface(IID_IInfoNode, reinterpret_cast<void**>(&node)), S_OK);
    EXPECT_EQ(outer.refs, 2);  // references through the interface go to the outer object
    node->Release();
    EXPECT_EQ(inner->Release(), 0u);
}

}  // namespace
