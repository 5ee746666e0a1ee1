#include "cli/interrupt_handler.h"

#include <unistd.h>

#include <algorithm>
#include <cassert>
#include <utility>

namespace orbitograph {

namespace {

static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<int>::is_always_lock_free);

// What the handler reads. A signal handler takes no context, so this is the
// one object of static storage in the command; InterruptHandler owns it.
struct HandlerState {
    std::atomic<bool> installed{false};
    std::atomic<bool> stop{false};
    std::atomic<bool> exitAtOnce{true};
    std::atomic<int> signal{0};
    char message[160]{};
    std::size_t messageLength = 0;
};

HandlerState& State() {
    static HandlerState state;
    return state;
}

extern "C" void OnInterrupt(int s) {
    HandlerState& state = State();
    int none = 0;
    state.signal.compare_exchange_strong(none, s);
    state.stop.store(true);
    if (state.exitAtOnce.load()) {
        const ssize_t written = write(STDERR_FILENO, state.message, state.messageLength);
        static_cast<void>(written);
        _exit(128 + state.signal.load());
    }
}

}  // namespace

InterruptHandler::InterruptHandler(std::string_view message) {
    HandlerState& state = State();
    [[maybe_unused]] const bool wasInstalled = state.installed.exchange(true);
    assert(!wasInstalled);
    state.messageLength = std::min(message.size(), sizeof state.message);
    std::copy_n(message.data(), state.messageLength, state.message);
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    // A signal that the caller ignores (a background job's SIGINT) stays ignored.
    for (auto [signal, previous] : {std::pair{SIGINT, &m_previousInt}, std::pair{SIGTERM, &m_previousTerm}}) {
        sigaction(signal, nullptr, previous);
        if (previous->sa_handler != SIG_IGN) sigaction(signal, &action, nullptr);
    }
}

InterruptHandler::~InterruptHandler() {
    sigaction(SIGINT, &m_previousInt, nullptr);
    sigaction(SIGTERM, &m_previousTerm, nullptr);
    State().installed.store(false);
}

void InterruptHandler::WriteFile(bool writing) { State().exitAtOnce.store(!writing); }

const std::atomic<bool>& InterruptHandler::Flag() const { return State().stop; }

int InterruptHandler::ExitStatus() const {
    const int s = State().signal.load();
    return s == 0 ? 0 : 128 + s;
}

}  // namespace orbitograph
