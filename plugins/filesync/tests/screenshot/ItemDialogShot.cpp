// Shows the plug-in's item dialog as a user sees it and saves a picture of
// it (run by tools/gui-screenshots): a thread waits for the box, captures
// it and presses its button.
#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <string>

#include "Bstr.h"
#include "ComPtr.h"
#include "TestSupport.h"
#include "WindowCapture.h"
#include "pindrel.h"
#include "vorlan.h"

namespace {

struct Shot {
    bool saved = false;
};

DWORD WINAPI TakeShot(void* param) {
    auto* shot = static_cast<Shot*>(param);
    HWND box = vorlan::testing::WaitForDialog("File Management");
    if (!box) return 1;
    const std::string saved = vorlan::testing::SaveScreenshot(box, "item-dialog");
    shot->saved = !saved.empty() && saved.rfind("failed", 0) != 0;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    return 0;
}

}  // namespace

int main() {
    // The user's real box, not the unattended answer of test runs.
    SetEnvironmentVariableA("VORLAN_MESSAGEBOX_ANSWER", nullptr);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int status = 1;
    {
        CLSID clsid;
        vorlan::com::ComPtr<IVorlanProperties> properties;
        vorlan::com::ComPtr<IInfoNode> item;
        if (SUCCEEDED(CLSIDFromProgID(L"Feldane.VorlanProperties", &clsid)) &&
            SUCCEEDED(vorlan::com::CreateInstance(clsid, properties)) &&
            SUCCEEDED(vorlan::com::CreateInstance(CLSID_InfoNode, item))) {
            Shot shot;
            HANDLE thread = CreateThread(nullptr, 0, &TakeShot, &shot, 0, nullptr);
            IInfoNode* raw = item.Get();
            const HRESULT hr = properties->ConfigNodeDlg(&raw, VARIANT_TRUE);
            WaitForSingleObject(thread, 15000);
            CloseHandle(thread);
            std::printf("ConfigNodeDlg: 0x%08lX, picture %s\n", static_cast<unsigned long>(hr),
                        shot.saved ? "saved" : "not saved");
            status = hr == ERROR_CANCELLED && shot.saved ? 0 : 1;
        }
    }
    CoUninitialize();
    return status;
}
