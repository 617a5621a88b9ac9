#pragma once
// Calls into the device library "Ostrum", for the work the remote API does
// not offer. Needs an open device session.
#include <windows.h>

#include <vector>

namespace vorlan {

// Calls function of the device library with a copy of the input block
// (handed to the remote API in a LocalAlloc block, which it frees in every
// case). The device's output block is copied into *output when that is
// given and freed in every case. The remote API's result: S_OK whenever the
// function ran, whatever its own result word says.
HRESULT InvokeDeviceLibrary(const wchar_t* function, const void* input, DWORD inputSize,
                            std::vector<BYTE>* output = nullptr);

// Registers (bRegister non-zero) or unregisters a self-registering DLL on
// the device through the library's "RegisterDll" or "UnregisterDll". Only
// the transport's result is returned; E_POINTER for a null path.
HRESULT RegisterDeviceDll(const wchar_t* path, BOOL bRegister);

}  // namespace vorlan
