#include "cli/interrupt_watch.h"

#include <pthread.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>

namespace orbitograph {

InterruptWatch::InterruptWatch() {
    sigemptyset(&m_signals);
    sigaddset(&m_signals, SIGINT);
    sigaddset(&m_signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &m_signals, &m_previousMask);
    m_thread = std::jthread([this](std::stop_token stop) { Watch(stop); });
}

InterruptWatch::~InterruptWatch() {
    m_thread.request_stop();
    if (m_thread.joinable()) m_thread.join();
    // A signal still pending is delivered on unblocking, with its default
    // action, so an interrupt during shut-down still ends the process.
    pthread_sigmask(SIG_SETMASK, &m_previousMask, nullptr);
}

int InterruptWatch::ExitStatus() const {
    const int s = m_signal.load();
    return s == 0 ? 0 : 128 + s;
}

void InterruptWatch::Watch(std::stop_token stop) {
    // Waits in slices of 50 ms so that a stop request is seen promptly.
    const timespec slice{0, 50'000'000};
    while (!stop.stop_requested()) {
        const int s = sigtimedwait(&m_signals, nullptr, &slice);
        if (s <= 0) continue;  // timeout or EINTR
        if (m_cancel.load()) std::_Exit(128 + s);
        m_signal.store(s);
        m_cancel.store(true);
    }
}

}  // namespace orbitograph
