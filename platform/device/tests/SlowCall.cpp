// A device library whose one export takes as long as it is told (a 32-bit
// count of milliseconds), so tests can end either side of the connection
// while a call is in flight.
#include <windows.h>

extern "C" __declspec(dllexport) HRESULT WaitMilliseconds(DWORD cbInput, BYTE* pInput, DWORD* pcbOutput,
                                                           BYTE** ppOutput, void*) {
    if (pcbOutput) *pcbOutput = 0;
    if (ppOutput) *ppOutput = nullptr;
    if (cbInput != sizeof(DWORD) || !pInput) return E_INVALIDARG;
    DWORD milliseconds;
    CopyMemory(&milliseconds, pInput, sizeof milliseconds);
    Sleep(milliseconds);
    return S_OK;
}
