#pragma once
// ISupportErrorInfo answering S_OK for the listed interfaces.
#include <windows.h>
#include <ole2.h>

namespace vorlan::com {

template <class... Itfs>
class SupportErrorInfoImpl : public ISupportErrorInfo {
public:
    STDMETHODIMP InterfaceSupportsErrorInfo(REFIID iid) override {
        return (IsEqualIID(iid, __uuidof(Itfs)) || ...) ? S_OK : S_FALSE;
    }
};

}  // namespace vorlan::com
