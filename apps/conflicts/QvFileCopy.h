#pragma once
// The file plug-in's copy object as Kessryn calls it: a dual interface
// whose one method copies a file between the desktop and the device.
#include <windows.h>
#include <oaidl.h>

namespace vorlan::conflicts {

// {57BFF140-AB96-4882-B67A-B6E5481D1CEB}
inline constexpr CLSID kClsidQvFileCopy = {0x57BFF140, 0xAB96, 0x4882, {0xB6, 0x7A, 0xB6, 0xE5, 0x48, 0x1D, 0x1C, 0xEB}};
// {17AC646A-2363-479B-9A80-211AC2A24265}
inline constexpr IID kIidQvFileCopy = {0x17AC646A, 0x2363, 0x479B, {0x9A, 0x80, 0x21, 0x1A, 0xC2, 0xA2, 0x42, 0x65}};

struct IQvFileCopyCall : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE CeFileCopy(BSTR origin, BSTR destination, BSTR attributes,
                                                 BSTR downloadAttributes) = 0;
};

}  // namespace vorlan::conflicts
