#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>

#include "WinThread.h"

namespace vorlan {
namespace {

std::atomic<int> g_runs{0};

UINT __cdecl Work(LPVOID param) {
    ++g_runs;
    return *static_cast<UINT*>(param);
}

TEST(WinThreadTest, HandleStaysValidAfterTheThreadEnded) {
    UINT answer = 17;
    g_runs = 0;
    auto thread = AfxBeginThread(Work, &answer);
    ASSERT_NE(thread, nullptr);
    // Long over before anyone waits: the handle still names the thread.
    while (g_runs.load() == 0) Sleep(1);
    Sleep(50);
    EXPECT_EQ(WaitForSingleObject(thread->m_hThread, 5000), WAIT_OBJECT_0);
    EXPECT_EQ(thread->ExitCode(), 17u);
    EXPECT_EQ(GetThreadId(thread->m_hThread), thread->m_nThreadID);
}

TEST(WinThreadTest, SuspendedThreadWaitsForResume) {
    UINT answer = 4;
    g_runs = 0;
    auto thread = AfxBeginThread(Work, &answer, THREAD_PRIORITY_BELOW_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(WaitForSingleObject(thread->m_hThread, 100), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(g_runs.load(), 0);
    EXPECT_EQ(GetThreadPriority(thread->m_hThread), THREAD_PRIORITY_BELOW_NORMAL);
    EXPECT_EQ(thread->ExitCode(), static_cast<DWORD>(STILL_ACTIVE));
    thread->ResumeThread();
    EXPECT_EQ(WaitForSingleObject(thread->m_hThread, 5000), WAIT_OBJECT_0);
    EXPECT_EQ(thread->ExitCode(), 4u);
    EXPECT_EQ(AfxBeginThread(nullptr, nullptr), nullptr);
}

}  // namespace
}  // namespace vorlan
