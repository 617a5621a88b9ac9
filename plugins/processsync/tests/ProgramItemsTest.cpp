// The program engine against an emulated device with Ostrum, and through
// COM as the core and scripts use it.
#include <gtest/gtest.h>

#include <cwchar>
#include <functional>

#include "Bstr.h"
#include "CeRapi.h"
#include "ComPtr.h"
#include "PluginChecks.h"
#include "DevicePluginSuite.h"
#include "ProcessSync.h"
#include "VorlanMessages.h"
#include "pindrel.h"
#include "wendric.h"

namespace vorlan::processsync::testing {
namespace {

using com::Bstr;
using com::ComPtr;
using vorlan::testing::BuildPath;
using vorlan::testing::DevicePluginSuite;

ComPtr<IInfoNode> Item(const char* flag, const char* identifier) {
    ComPtr<IInfoNode> node;
    EXPECT_EQ(com::CreateInstance(CLSID_InfoNode, node), S_OK);
    if (flag) node->SetAt(Bstr::FromAnsi("Flag").Get(), Bstr::FromAnsi(flag).Get());
    if (identifier) node->SetAt(Bstr::FromAnsi("ProcessIdentifier").Get(), Bstr::FromAnsi(identifier).Get());
    return node;
}

// The device window of the window fixture, once it shows (null when none).
HWND FixtureWindow(int tries) {
    wchar_t text[64] = {};
    for (int i = 0; i < tries; ++i, Sleep(50)) {
        for (HWND w = CeGetWindow(nullptr, GW_CHILD); w; w = CeGetWindow(w, GW_HWNDNEXT))
            if (CeGetClassName(w, text, 64) && wcscmp(text, L"DeviceWindowFixture") == 0) return w;
    }
    return nullptr;
}

bool WaitFor(const std::function<bool()>& done, int tries = 100) {
    for (int i = 0; i < tries; ++i, Sleep(50))
        if (done()) return true;
    return false;
}

class ProgramItemsTest : public DevicePluginSuite {
protected:
    std::unique_ptr<CProcessSync> Engine() {
        auto engine = std::make_unique<CProcessSync>();
        UseSuiteSource(*engine);
        EXPECT_EQ(engine->Init(), S_OK);
        return engine;
    }
    static std::string Marker() { return vorlan::testing::WindowsPath(VORLAN_MARKER_WRITER) + ".ran"; }
};

TEST_F(ProgramItemsTest, EachActionOfAnItemDoesItsWorkAndSaysSo) {
    vorlan::testing::RapiSession session;
    ASSERT_TRUE(session.Connected());
    DeleteFileA(Marker().c_str());
    const std::string helper = vorlan::testing::WindowsPath(VORLAN_MARKER_WRITER);
    const struct {
        const char* name;
        const char* flag;
        std::string identifier;
        std::function<void()> before;
        HRESULT result;
        uint32_t event;
        std::string insertion;
        std::function<void()> check;
    } cases[] = {
        {"start with arguments", "QV_CREATE_PROCESS", R"("\Windows\sleeper.exe" -x "a b")", {}, S_OK, 0, "",
         [] {
             auto started = device->Journal("process");
             ASSERT_FALSE(started.empty());
             EXPECT_EQ(started.back().Get("application"), "\\Windows\\sleeper.exe");
             EXPECT_EQ(started.back().Get("commandLine"), "-x \"a b\"");
             EXPECT_EQ(started.back().Get("flags"), "16");
             EXPECT_EQ(started.back().Get("error"), "0");
         }},
        {"start from the symbolic folder", "", R"("%CE_WINDIR%\sleeper.exe")", {}, S_OK, 0, "",
         [] { EXPECT_EQ(device->Journal("process").back().Get("application"), "\\Windows\\sleeper.exe"); }},
        {"start a missing program", "QV_CREATE_PROCESS", R"(\Windows\nothere.exe)", {}, E_FAIL,
         EVT_PROGRAM_NOT_STARTED, R"(\Windows\nothere.exe)", {}},
        {"start and wait", "QV_CREATE_WAIT_PROCESS", R"(%CE_WINDIR%\sleeper.exe)",
         [] { CeDeleteFile(L"\\Windows\\sleeper.done"); }, S_OK, 0, "",
         [] { EXPECT_NE(CeGetFileAttributes(L"\\Windows\\sleeper.done"), INVALID_FILE_ATTRIBUTES); }},
        {"wait on a missing program", "qv_create_wait_process", R"(\Windows\nothere.exe)", {},
         HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), EVT_PROGRAM_NOT_STARTED, R"(\Windows\nothere.exe)", {}},
        {"close an open window", "QV_WM_CLOSE_PROCESS", "Probe Window",
         [] {
             PROCESS_INFORMATION pi;
             ASSERT_TRUE(CeCreateProcess(L"\\Windows\\devwin.exe", L"Probe Window", nullptr, nullptr, FALSE, 0,
                                         nullptr, nullptr, nullptr, &pi));
             CeCloseHandle(pi.hThread);
             CeCloseHandle(pi.hProcess);
             ASSERT_NE(FixtureWindow(100), nullptr);
         },
         S_OK, 0, "", [] { EXPECT_TRUE(WaitFor([] { return FixtureWindow(1) == nullptr; })) << "still open"; }},
        {"close an absent window", "QV_WM_CLOSE_PROCESS", "No Such Window", {}, S_OK, 0, "", {}},
        {"a workstation helper", "XYZ", helper, {}, S_OK, 0, "",
         [] { EXPECT_TRUE(WaitFor([] { return GetFileAttributesA(Marker().c_str()) != INVALID_FILE_ATTRIBUTES; })); }},
        {"a missing workstation command", "QV_LOCAL_SHELL_EXEC", "C:\\no\\such\\command.exe", {}, E_FAIL,
         EVT_PROGRAM_NOT_STARTED, "C:\\no\\such\\command.exe", {}},
        {"an empty identifier", "QV_WM_CLOSE_PROCESS", "", {}, E_INVALIDARG, EVT_PROGRAM_NOT_STARTED, "", {}},
    };
    auto engine = Engine();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.before) c.before();
        MarkEvents();
        const DWORD start = GetTickCount();
        EXPECT_EQ(engine->PerformTransfer(Item(c.flag, c.identifier.c_str()).Get()), c.result);
        if (std::string(c.flag) == "QV_CREATE_WAIT_PROCESS") {
            EXPECT_GE(GetTickCount() - start, 450u) << "returns once the program has ended";
        }
        ExpectOneEvent(c.event, c.insertion);
        if (c.check) c.check();
    }
    MarkEvents();
    EXPECT_EQ(engine->PerformTransfer(nullptr), E_INVALIDARG);
    ExpectOneEvent(EVT_ITEM_UNUSABLE);
}

TEST_F(ProgramItemsTest, AnIdentifierWhoseFoldersCannotBeTranslatedReachesNothing) {
    const std::string tooLong = "%CE_WINDIR%\\" + std::string(250, 'a') + ".exe";
    auto engine = Engine();
    const size_t journalBefore = device->Journal().size();
    for (const char* flag : {"QV_CREATE_PROCESS", "QV_WM_CLOSE_PROCESS", "QV_CREATE_WAIT_PROCESS", "QV_LOCAL_SHELL_EXEC"}) {
        SCOPED_TRACE(flag);
        MarkEvents();
        EXPECT_EQ(engine->ApplyProcessItem("\"" + tooLong + "\"", flag), E_INVALIDARG);
        ExpectOneEvent(EVT_PROGRAM_NOT_STARTED, "\"" + tooLong + "\"");
    }
    EXPECT_EQ(device->Journal().size(), journalBefore);
}

TEST_F(ProgramItemsTest, MessagesAreRefusedWholeWhenTooLong) {
    auto engine = Engine();
    const size_t journalBefore = device->Journal().size();
    EXPECT_EQ(engine->ShowDeviceMessageBox(std::wstring(4096, L'x'), L"T", 0), E_INVALIDARG);
    EXPECT_EQ(engine->SendDeviceNotification(L"x", std::wstring(510, L'y'), 0, 5), E_INVALIDARG);
    EXPECT_EQ(device->Journal().size(), journalBefore);
    EXPECT_EQ(engine->ShowDeviceMessageBox(std::wstring(4095, L'x'), std::wstring(509, L'y'), 0), S_OK);
    EXPECT_EQ(device->Journal("msgbox").back().Get("text").size(), 4095u);
}

// Through IDispatch by name, as a script calls it; each call holds one session.
HRESULT CallByName(IDispatch* object, const wchar_t* name, std::vector<VARIANT> args) {
    DISPID id = 0;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    if (HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id); FAILED(hr)) return hr;
    std::reverse(args.begin(), args.end());
    DISPPARAMS params = {args.data(), nullptr, static_cast<UINT>(args.size()), 0};
    EXCEPINFO error = {};
    const HRESULT hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, &error,
                                      nullptr);
    for (auto& a : args) VariantClear(&a);
    return hr == DISP_E_EXCEPTION ? error.scode : hr;
}

VARIANT Text(const wchar_t* text) {
    VARIANT v;
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocString(text);
    return v;
}
VARIANT Number(ULONG n) {
    VARIANT v;
    v.vt = VT_UI4;
    v.ulVal = n;
    return v;
}

TEST_F(ProgramItemsTest, RepeatedScriptCallsOnOneObjectEachSucceed) {
    CLSID clsid = {};
    ASSERT_EQ(CLSIDFromProgID(L"Wendric.QvProcess", &clsid), S_OK);
    ComPtr<IDispatch> process;
    ASSERT_EQ(com::CreateInstance(clsid, process), S_OK);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(CallByName(process.Get(), L"MessageBox", {Text(L"Hi"), Text(L""), Number(0x40)}), S_OK);
        EXPECT_EQ(CallByName(process.Get(), L"CeProcess", {Text(L"No Such Window"), Text(L"QV_WM_CLOSE_PROCESS")}),
                  S_OK);
    }
    EXPECT_EQ(CallByName(process.Get(), L"CeProcess", {Text(L""), Text(L"QV_WM_CLOSE_PROCESS")}), E_INVALIDARG);
    const auto boxes = device->Journal("msgbox");
    ASSERT_GE(boxes.size(), 3u);
    EXPECT_EQ(boxes.back().Get("caption"), "");
    EXPECT_EQ(boxes.back().Get("type"), "64");
}

TEST_F(ProgramItemsTest, DescribesItsTable) {
    vorlan::testing::ExpectDescribesTable(
        L"Wendric.VorlanProperties",
        {"Wendric.Vorlan", "ProcessSync", "Process Management",
         "Use this component to start or stop a process in your CE device or local workstation",
         {"Flag", "ProcessIdentifier"}});
    vorlan::testing::ExpectRegisteredUnderBothProgIds({
        {L"Wendric.Vorlan", {0xE59F0424, 0xA612, 0x443D, {0xBD, 0x29, 0xE8, 0x7C, 0x39, 0xE4, 0xED, 0xD4}}},
        {L"Wendric.QvProcess", {0x985F261B, 0x7DF4, 0x40C6, {0x97, 0x86, 0x4A, 0x4C, 0x53, 0xD5, 0x8E, 0xE1}}},
        {L"Wendric.VorlanProperties", {0xB5662E2B, 0xCC4D, 0x4629, {0xB0, 0x20, 0x29, 0x5A, 0xCE, 0x75, 0x9A, 0x8C}}},
    });
}

}  // namespace
}  // namespace vorlan::processsync::testing
