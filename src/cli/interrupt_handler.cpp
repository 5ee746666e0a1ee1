#include "cli/interrupt_handler.h"

#include <unistd.h>

#include <algorithm>
#include <cassert>

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
    // Two lines: SetLine fills the one not in use, then switches to it, so
    // that a handler running in any thread reads a whole line.
    struct Line {
        char text[400]{};
        std::size_t length = 0;
    } lines[2];
    std::atomic<int> current{0};
};

HandlerState& State() {
    static HandlerState state;
    return state;
}

extern "C" void OnInterrupt(int s) {
    HandlerState& state = State();
    if (state.exitAtOnce.load() && s == SIGPIPE) {
        // Delivered as soon as this handler returns, since it is blocked here.
        signal(SIGPIPE, SIG_DFL);
        raise(SIGPIPE);
        return;
    }
    int none = 0;
    state.signal.compare_exchange_strong(none, s);
    state.stop.store(true);
    if (state.exitAtOnce.load()) {
        const HandlerState::Line& line = state.lines[state.current.load()];
        const ssize_t written = write(STDERR_FILENO, line.text, line.length);
        static_cast<void>(written);
        _exit(128 + state.signal.load());
    }
}

}  // namespace

InterruptHandler::InterruptHandler(std::string_view line) {
    [[maybe_unused]] const bool wasInstalled = State().installed.exchange(true);
    assert(!wasInstalled);
    SetLine(line);
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigfillset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    // A signal that the caller ignores (a background job's SIGINT) stays ignored.
    for (std::size_t i = 0; i < std::size(kCaught); ++i) {
        sigaction(kCaught[i], nullptr, &m_previous[i]);
        if (m_previous[i].sa_handler != SIG_IGN) sigaction(kCaught[i], &action, nullptr);
    }
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGXFSZ, &ignore, &m_previousFileSize);
}

InterruptHandler::~InterruptHandler() {
    for (std::size_t i = 0; i < std::size(kCaught); ++i) sigaction(kCaught[i], &m_previous[i], nullptr);
    sigaction(SIGXFSZ, &m_previousFileSize, nullptr);
    State().installed.store(false);
}

void InterruptHandler::SetLine(std::string_view line) {
    HandlerState& state = State();
    const int next = 1 - state.current.load();
    HandlerState::Line& to = state.lines[next];
    to.length = std::min(line.size(), sizeof to.text);
    std::copy_n(line.data(), to.length, to.text);
    state.current.store(next);
}

void InterruptHandler::WriteFile(bool writing) { State().exitAtOnce.store(!writing); }

const std::atomic<bool>& InterruptHandler::Flag() const { return State().stop; }

int InterruptHandler::ExitStatus() const {
    const int s = State().signal.load();
    return s == 0 ? 0 : 128 + s;
}

}  // namespace orbitograph
