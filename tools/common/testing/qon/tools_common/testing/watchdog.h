// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

namespace qon::tools_common::testing {

// Ends the test program with a failure when the scope it guards outlives `limit`. A call
// that blocks (a named pipe opened as a bitmap, say) then fails its test quickly instead
// of hanging the whole run until ctest's own timeout.
class Watchdog {
  public:
    Watchdog(std::chrono::seconds limit, std::string what)
        : m_what(std::move(what)), m_thread([this, limit] { watch(limit); }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(m_mutex);
            m_done = true;
        }
        m_finished.notify_one();
        m_thread.join();
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

  private:
    void watch(std::chrono::seconds limit) {
        std::unique_lock lock(m_mutex);
        if (m_finished.wait_for(lock, limit, [this] { return m_done; })) return;
        std::fprintf(stderr, "FAILED: %s did not finish within %lld s; it blocks\n", m_what.c_str(),
                     static_cast<long long>(limit.count()));
        std::fflush(stderr);
        std::_Exit(EXIT_FAILURE);
    }

    std::string m_what;
    std::mutex m_mutex;
    std::condition_variable m_finished;
    bool m_done = false;
    std::thread m_thread;  // last: it starts watching once the rest is built
};

}  // namespace qon::tools_common::testing
