#include "QvFileCopy.h"

#include "Bstr.h"
#include "ComCall.h"
#include "ModuleState.h"

namespace vorlan::filesync {

STDMETHODIMP CQvFileCopy::CeFileCopy(BSTR bstrOrigin, BSTR bstrDest, BSTR bstrAttr, BSTR bstrDownloadAttr) {
    ModuleStateGuard state(com::ComModule::Instance().Handle());
    return com::ComCall([&] {
        if (HRESULT hr = engine_.Init(); FAILED(hr)) return hr;
        return engine_.TransferItem(com::AnsiFromBstr(bstrOrigin), com::AnsiFromBstr(bstrDest),
                                    com::AnsiFromBstr(bstrAttr), com::AnsiFromBstr(bstrDownloadAttr));
    });
}

}  // namespace vorlan::filesync
