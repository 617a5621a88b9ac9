#pragma once
// For benchmarks that say how many calls travel to the device: an entry of
// a side's function table (CeRapiWrapper.h) replaced by one that counts
// each call in g_deviceCalls and then makes it.
//
//   auto table = std::make_unique<CQvCERapiWrapper>(TRUE);
//   COUNT_DEVICE_CALLS(table, RegSetValueEx);
//
// Each use makes its own entry (by its line), so use it in one file of a
// program only.
#include <windows.h>

namespace vorlan::testing {

inline unsigned long g_deviceCalls = 0;

template <int Line, class F>
struct CountedCall;
template <int Line, class R, class... A>
struct CountedCall<Line, R(WINAPI*)(A...)> {
    static inline R(WINAPI* real)(A...) = nullptr;
    static R WINAPI Call(A... a) {
        ++g_deviceCalls;
        return real(a...);
    }
};

}  // namespace vorlan::testing

#define COUNT_DEVICE_CALLS(table, entry)                                                     \
    do {                                                                                     \
        using Counted = vorlan::testing::CountedCall<__LINE__, decltype((table)->entry)>;    \
        Counted::real = (table)->entry;                                                      \
        (table)->entry = &Counted::Call;                                                     \
    } while (0)
