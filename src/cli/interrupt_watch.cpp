#include "cli/interrupt_watch.h"

#include <pthread.h>

#include <cstdlib>

namespace orbitograph {

InterruptWatch::InterruptWatch() {
    sigemptyset(&m_signals);
    sigaddset(&m_signals, SIGINT);
    sigaddset(&m_signals, SIGTERM);
    sigaddset(&m_signals, kWake);
    pthread_sigmask(SIG_BLOCK, &m_signals, &m_previousMask);
    m_thread = std::jthread([this](std::stop_token stop) { Watch(stop); });
}

InterruptWatch::~InterruptWatch() {
    m_thread.request_stop();
    pthread_kill(m_thread.native_handle(), kWake);
    m_thread.join();
    // A signal still pending is delivered on unblocking, with its default
    // action, so an interrupt during shut-down still ends the process.
    pthread_sigmask(SIG_SETMASK, &m_previousMask, nullptr);
}

int InterruptWatch::ExitStatus() const {
    const int s = m_signal.load();
    return s == 0 ? 0 : 128 + s;
}

void InterruptWatch::Watch(std::stop_token stop) {
    while (true) {
        int s = 0;
        if (sigwait(&m_signals, &s) != 0) continue;
        if (s == kWake) {
            if (stop.stop_requested()) return;
            continue;  // sent by someone else: not ours to act on
        }
        if (m_cancel.load()) std::_Exit(128 + s);
        m_signal.store(s);
        m_cancel.store(true);
    }
}

}  // namespace orbitograph
