#pragma once

#include <atomic>
#include <csignal>
#include <thread>

namespace orbitograph {

// Turns SIGINT and SIGTERM into a cancel flag. The constructor blocks both
// signals in the calling thread, so it must run in main before any other
// thread starts (threads inherit the mask); a thread of its own then waits
// for them. The first signal sets the flag and records its number; a second
// one ends the process at once with status 128 + signal, for a computation
// that does not stop. The destructor wakes the thread with SIGUSR2 (blocked
// as well, and otherwise ignored), joins it and restores the mask.
class InterruptWatch {
public:
    InterruptWatch();
    ~InterruptWatch();
    InterruptWatch(const InterruptWatch&) = delete;
    InterruptWatch& operator=(const InterruptWatch&) = delete;

    const std::atomic<bool>& Flag() const { return m_cancel; }
    bool Interrupted() const { return m_cancel.load(); }
    // 128 + the signal that arrived first (130 for Ctrl+C); 0 if none did.
    int ExitStatus() const;

private:
    static constexpr int kWake = SIGUSR2;
    void Watch(std::stop_token stop);

    std::atomic<bool> m_cancel{false};
    std::atomic<int> m_signal{0};
    sigset_t m_signals{};
    sigset_t m_previousMask{};
    std::jthread m_thread;
};

}  // namespace orbitograph
