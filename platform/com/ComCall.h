#pragma once
// Guards at every COM method and exported function: no C++ exception
// crosses the boundary, and failures return early as HRESULTs.
#include <windows.h>
#include <ole2.h>
#include <new>
#include <stdexcept>

#define VORLAN_RETURN_IF_FAILED(expr)          \
    do {                                       \
        HRESULT hr_ = (expr);                  \
        if (FAILED(hr_)) return hr_;           \
    } while (0)

namespace vorlan::com {

// Runs body and turns an escaping exception into an HRESULT.
template <class Body>
HRESULT ComCall(Body&& body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (const std::invalid_argument&) {
        return E_INVALIDARG;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

}  // namespace vorlan::com
