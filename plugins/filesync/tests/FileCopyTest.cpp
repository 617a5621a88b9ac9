// The file copy object: created by ProgID, driven through its interface,
// through IDispatch and by a script client.
#include <gtest/gtest.h>

#include "Bstr.h"
#include "ComPtr.h"
#include "FileSyncFixture.h"
#include "VorlanMessages.h"
#include "feldane.h"

namespace vorlan::filesync::testing {
namespace {

using com::Bstr;
using com::ComPtr;

class FileCopyTest : public FileSyncSuite {
protected:
    ComPtr<IQvFileCopy> Create() {
        CLSID clsid = {};
        EXPECT_EQ(CLSIDFromProgID(L"Feldane.QvFileCopy", &clsid), S_OK);
        ComPtr<IQvFileCopy> copy;
        EXPECT_EQ(com::CreateInstance(clsid, copy), S_OK);
        return copy;
    }
    static HRESULT Copy(IQvFileCopy* copy, const std::string& origin, const std::string& dest, const char* attr) {
        return copy->CeFileCopy(Bstr::FromAnsi(origin).Get(), Bstr::FromAnsi(dest).Get(), Bstr::FromAnsi(attr).Get(),
                                Bstr(L"").Get());
    }
};

TEST_F(FileCopyTest, RegisteredUnderBothProgIds) {
    const CLSID want = {0x57BFF140, 0xAB96, 0x4882, {0xB6, 0x7A, 0xB6, 0xE5, 0x48, 0x1D, 0x1C, 0xEB}};
    EXPECT_TRUE(IsEqualCLSID(CLSID_QvFileCopy, want));
    for (const wchar_t* progId : {L"Feldane.QvFileCopy", L"Feldane.QvFileCopy.1"}) {
        CLSID clsid = {};
        EXPECT_EQ(CLSIDFromProgID(progId, &clsid), S_OK);
        EXPECT_TRUE(IsEqualCLSID(clsid, CLSID_QvFileCopy));
    }
    char model[32] = {};
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, "CLSID\\{57BFF140-AB96-4882-B67A-B6E5481D1CEB}\\InprocServer32", 0,
                            KEY_READ, &key),
              ERROR_SUCCESS);
    DWORD type = 0, bytes = sizeof model;
    EXPECT_EQ(RegQueryValueExA(key, "ThreadingModel", nullptr, &type, reinterpret_cast<BYTE*>(model), &bytes),
              ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_STREQ(model, "Apartment");
}

TEST_F(FileCopyTest, CopiesEitherWayAndAgainOnTheSameObject) {
    auto copy = Create();
    ASSERT_TRUE(copy);
    const std::string ws = Local("winner.txt"), back = Local("from-device.txt");
    PutLocalFile("winner.txt", "the workstation's copy");
    // An empty attribute text copies to the device.
    EXPECT_EQ(Copy(copy.Get(), ws, "\\winner.txt", ""), S_OK);
    EXPECT_EQ(DeviceBytes(L"\\winner.txt"), "the workstation's copy");
    PutDeviceFile(L"\\winner.txt", "the device's copy");
    EXPECT_EQ(Copy(copy.Get(), "\\winner.txt", back, "QV_CREATE_FILE_FROM_CE"), S_OK);
    EXPECT_EQ(vorlan::testing::ReadFileBytes(back), "the device's copy");

    // Through IDispatch, by name.
    ComPtr<IDispatch> dispatch;
    ASSERT_EQ(copy->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(dispatch.Put())), S_OK);
    LPOLESTR name = const_cast<LPOLESTR>(L"CeFileCopy");
    DISPID id = 0;
    ASSERT_EQ(dispatch->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), S_OK);
    EXPECT_EQ(id, 1);
    VARIANT args[4];
    const std::string texts[4] = {"", "", "\\winner.txt", ws};  // reversed order
    for (int i = 0; i < 4; ++i) {
        VariantInit(&args[i]);
        args[i].vt = VT_BSTR;
        args[i].bstrVal = SysAllocString(com::WideFromAnsi(texts[i]).c_str());
    }
    DISPPARAMS params = {args, nullptr, 4, 0};
    EXPECT_EQ(dispatch->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr), S_OK);
    for (VARIANT& v : args) VariantClear(&v);
    EXPECT_EQ(DeviceBytes(L"\\winner.txt"), "the workstation's copy");
}

TEST_F(FileCopyTest, FailsWhenTheDestinationDoesNotGetTheBytes) {
    auto copy = Create();
    ASSERT_TRUE(copy);
    PutLocalFile("held.txt", "new content");
    PutDeviceFile(L"\\held.txt", "old content");
    const uint32_t hold = device->HoldFile(L"\\held.txt", FILE_SHARE_READ);
    ASSERT_NE(hold, 0u);
    EXPECT_TRUE(FAILED(Copy(copy.Get(), Local("held.txt"), "\\held.txt", "")));
    device->ReleaseFile(hold);
    EXPECT_EQ(DeviceBytes(L"\\held.txt"), "old content");

    // No device: the connection's failure, before any file is touched.
    PutDeviceFile(L"\\untouched.txt", "kept");
    ASSERT_TRUE(device->Disconnect());
    const HRESULT hr = Copy(copy.Get(), Local("held.txt"), "\\untouched.txt", "");
    ASSERT_TRUE(device->Reconnect());
    EXPECT_TRUE(FAILED(hr));
    EXPECT_EQ(DeviceBytes(L"\\untouched.txt"), "kept");
    EXPECT_EQ(Copy(copy.Get(), Local("held.txt"), "\\untouched.txt", ""), S_OK);
    EXPECT_EQ(DeviceBytes(L"\\untouched.txt"), "new content");
}

TEST_F(FileCopyTest, AScriptClientCopiesBothWays) {
    PutLocalFile("script.txt", "from the script");
    const std::string back = Local("script-back.txt");
    CreateDirectoryW(device->HostPath(L"\\Script").c_str(), nullptr);
    std::string command = "cscript //nologo \"" + com::AnsiFromWide(vorlan::testing::BuildPath(FILE_COPY_SCRIPT)) + "\" \"" + Local("script.txt") +
                          "\" \"\\Script\\s.txt\" \"" + back + "\"";
    STARTUPINFOA startup = {sizeof startup};
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process))
        << command;
    ASSERT_EQ(WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);
    DWORD code = 99;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(DeviceBytes(L"\\Script\\s.txt"), "from the script");
    EXPECT_EQ(vorlan::testing::ReadFileBytes(back), "from the script");
}

}  // namespace
}  // namespace vorlan::filesync::testing
