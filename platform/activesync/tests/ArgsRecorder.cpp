// A program started by the tests' service manager: it appends its command
// line, as it received it, to the file named by VORLAN_ARGS_RECORDER.
#include <windows.h>

#include "SharedFile.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableA("VORLAN_ARGS_RECORDER", path, sizeof path);
    if (length == 0 || length >= sizeof path) return 2;
    return vorlan::AppendJournalLine(path, {GetCommandLineA()}) ? 0 : 1;
}
