// Shows the wizard library's wizard as a user sees it and saves a picture
// of each page (run by tools/gui-screenshots): a thread waits for the
// sheet, captures the page, presses Next, and cancels after the last.
#include <windows.h>

#include <cstdio>
#include <string>

#include "TestSupport.h"
#include "WindowCapture.h"
#include "WizardDriver.h"
#include "WizardTestIds.h"

namespace {

void Ignore(void*, const char*) {}

struct Shots {
    int saved = 0;
};

DWORD WINAPI TakeShots(void* param) {
    auto* shots = static_cast<Shots*>(param);
    HWND sheet = vorlan::testing::WaitForDialog("Framework Wizard");
    if (!sheet) return 1;
    const char* names[] = {"wizard-name", "wizard-count", "wizard-last"};
    for (const char* name : names) {
        const std::string saved = vorlan::testing::SaveScreenshot(sheet, name);
        if (!saved.empty() && saved.rfind("failed", 0) != 0) ++shots->saved;
        vorlan::testing::PressWizardButton(sheet, PSBTN_NEXT);
    }
    vorlan::testing::PressWizardButton(sheet, PSBTN_CANCEL);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: WizardShot LIBRARY\n");
        return 2;
    }
    HMODULE library = LoadLibraryA(argv[1]);
    auto runWizard = library ? reinterpret_cast<RunWizardFn>(GetProcAddress(library, "RunWizard")) : nullptr;
    if (!runWizard) {
        std::fprintf(stderr, "WizardShot: %s has no RunWizard\n", argv[1]);
        return 1;
    }
    Shots shots;
    HANDLE thread = CreateThread(nullptr, 0, &TakeShots, &shots, 0, nullptr);
    WizardRun run = {&Ignore, nullptr, 1, 0};
    const INT_PTR result = runWizard(&run);
    WaitForSingleObject(thread, 15000);
    CloseHandle(thread);
    std::printf("RunWizard: %d, %d picture(s)\n", static_cast<int>(result), shots.saved);
    return result == IDCANCEL && shots.saved == 3 ? 0 : 1;
}
