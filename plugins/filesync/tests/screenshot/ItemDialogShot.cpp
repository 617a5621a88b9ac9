// Shows the plug-in's item dialog as a user sees it and saves a picture of
// it: a thread waits for the box, captures it to the bitmap file named on
// the command line and presses its button.
//   ItemDialogShot.exe OUTPUT.bmp
#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Bstr.h"
#include "ComPtr.h"
#include "pindrel.h"
#include "vorlan.h"

namespace {

HWND FindBox() {
    struct Search {
        DWORD process;
        HWND found;
    } search = {GetCurrentProcessId(), nullptr};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            char name[32] = {};
            GetClassNameA(window, name, sizeof name);
            if (process == s->process && IsWindowVisible(window) && std::string(name) == "#32770") {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool SaveBitmap(HWND window, const char* path) {
    RECT r;
    GetWindowRect(window, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);
    bool ok = false;
    if (FILE* file = std::fopen(path, "wb")) {
        const DWORD size = static_cast<DWORD>(width) * height * 4;
        BITMAPFILEHEADER header = {};
        header.bfType = 0x4D42;
        header.bfOffBits = sizeof header + sizeof info.bmiHeader;
        header.bfSize = header.bfOffBits + size;
        ok = std::fwrite(&header, sizeof header, 1, file) == 1 &&
             std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, file) == 1 &&
             std::fwrite(bits, size, 1, file) == 1;
        std::fclose(file);
    }
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ok;
}

struct Shot {
    const char* path;
    bool saved = false;
};

DWORD WINAPI TakeShot(void* param) {
    auto* shot = static_cast<Shot*>(param);
    for (int i = 0; i < 200; ++i) {
        if (HWND box = FindBox()) {
            Sleep(500);  // let it paint
            shot->saved = SaveBitmap(box, shot->path);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            return 0;
        }
        Sleep(50);
    }
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int status = 1;
    {
        CLSID clsid;
        vorlan::com::ComPtr<IVorlanProperties> properties;
        vorlan::com::ComPtr<IInfoNode> item;
        if (SUCCEEDED(CLSIDFromProgID(L"Feldane.VorlanProperties", &clsid)) &&
            SUCCEEDED(vorlan::com::CreateInstance(clsid, properties)) &&
            SUCCEEDED(vorlan::com::CreateInstance(CLSID_InfoNode, item))) {
            Shot shot = {argv[1]};
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
