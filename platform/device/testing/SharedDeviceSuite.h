#pragma once
// A test suite whose tests share one emulated device: started, with this
// process's remote API pointed at it, before the suite's first test and
// stopped after its last. The suite names its profile with a public static
// Profile() of its own; without one the device has the default profile.
#include <gtest/gtest.h>

#include <string>

#include "DeviceEmulator.h"

namespace vorlan::testing {

template <class Suite, class Base = ::testing::Test>
class SharedDeviceSuite : public Base {
protected:
    static std::string Profile() { return {}; }
    static void SetUpTestSuite() {
        device = new DeviceEmulator(Suite::Profile());
        device->UseForRapi();
    }
    static void TearDownTestSuite() {
        delete device;
        device = nullptr;
    }

    static inline DeviceEmulator* device = nullptr;
};

}  // namespace vorlan::testing
