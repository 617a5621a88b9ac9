// A test program that crashes on purpose, to show that a crash under Wine
// ends the run at once with its exception code and a back-trace.
#include <gtest/gtest.h>

#include <windows.h>

namespace {

__attribute__((noinline)) void WriteThroughNull(volatile int* target) { *target = 1; }

TEST(CrashingTest, WritesThroughANullPointer) {
    WriteThroughNull(nullptr);
    FAIL() << "the write should have crashed the program";
}

}  // namespace
