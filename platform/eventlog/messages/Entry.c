/* The message library holds only resources; its entry point does nothing. */
#include <windows.h>

BOOL WINAPI MessagesEntry(HINSTANCE module, DWORD reason, LPVOID reserved) {
    (void)module;
    (void)reason;
    (void)reserved;
    return TRUE;
}
