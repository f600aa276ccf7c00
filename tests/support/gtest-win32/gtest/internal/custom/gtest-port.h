#pragma once

// GoogleTest's settings for Windows builds whose C++ run-time has no
// std::mutex (mingw-w64's win32 thread model, which the programs use so that
// they need no winpthreads). GoogleTest builds one class on std::mutex; it
// only lets its own helper threads start, and here waits on a flag instead.

#include <atomic>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing::internal {

class Notification {
public:
    Notification() = default;
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;

    void Notify() { m_bNotified.store(true); }
    void WaitForNotification()
    {
        while (!m_bNotified.load()) {
        }
    }

private:
    std::atomic<bool> m_bNotified{false};
};

} // namespace testing::internal
