#pragma once
// What the program and shortcut plug-ins' tests share: one emulated device
// with the project installed (Ostrum and its test programs in \Windows), an
// event source of the suite's own (named to the engines through
// RegInfoKey) writing into a log the tests read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EventRecord.h"
#include "MySync.h"
#include "SharedDeviceSuite.h"
#include "TestSupport.h"

namespace vorlan::testing {

class DevicePluginSuite : public SharedDeviceSuite<DevicePluginSuite> {
public:
    static std::string Profile();
    static void SetUpTestSuite();
    static void TearDownTestSuite();

protected:
    void SetUp() override;

    // Points an engine at the suite's event source.
    static void UseSuiteSource(IMySync& engine);
    static const std::string& RegInfoKey() { return regInfoKey_; }
    static const std::string& Source() { return source_; }

    // Events since the test began, oldest first.
    std::vector<EventRecord> Events() const;
    // The single event since the test began (or since MarkEvents): its
    // identifier and insertion ("" for none); none when id is 0.
    void ExpectOneEvent(uint32_t id, const std::string& insertion = {}) const;
    void MarkEvents();

private:
    ComScope com_;
    size_t eventsBefore_ = 0;
    static inline std::string source_, log_, logFile_, regInfoKey_;
    static inline TempFolder* logFolder_ = nullptr;
};

}  // namespace vorlan::testing
