// A desktop program for the tests of many clients at once: it opens a
// session, writes and reads back a file of its own, and says 0 when all
// went well.
#include <windows.h>

#include <string>

#include "CeRapi.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    RAPIINIT init = {sizeof init, nullptr, E_FAIL};
    if (FAILED(CeRapiInitEx(&init)) || WaitForSingleObject(init.heRapiInit, 5000) != WAIT_OBJECT_0) return 3;
    std::wstring path = std::wstring(L"\\Temp\\client-") + argv[1] + L".txt";
    int failures = 0;
    for (int i = 0; i < 50; ++i) {
        std::string text = "client " + std::to_string(i);
        HANDLE h = CeCreateFile(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD done = 0;
        if (h == INVALID_HANDLE_VALUE || !CeWriteFile(h, text.data(), static_cast<DWORD>(text.size()), &done, nullptr) ||
            !CeCloseHandle(h)) {
            ++failures;
            continue;
        }
        char back[32] = {};
        h = CeCreateFile(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE || !CeReadFile(h, back, sizeof back, &done, nullptr) || text != back) ++failures;
        CeCloseHandle(h);
    }
    CeRapiUninit();
    return failures ? 1 : 0;
}
