#pragma once

#include <atomic>
#include <csignal>
#include <string_view>

namespace orbitograph {

// SIGINT and SIGTERM end the command with status 128 + signal (130, 143).
// Made first thing in main; only one may exist, and the dispositions it
// replaces come back when it goes away; a signal that was ignored when it
// was made stays ignored. No thread is needed: the handler
// only does what is safe in a signal handler.
//
// While nothing needs undoing (the default: computing, printing, composing)
// the handler writes the message to stderr and ends the process at once.
// Once the command has begun writing a file (WriteFile(true)), the handler
// only records the signal and raises the stop flag, which the file writer
// reads every row; the command then removes what it wrote and exits with
// ExitStatus() itself.
class InterruptHandler {
public:
    // message: the line for stderr when the handler ends the process itself.
    explicit InterruptHandler(std::string_view message);
    ~InterruptHandler();
    InterruptHandler(const InterruptHandler&) = delete;
    InterruptHandler& operator=(const InterruptHandler&) = delete;

    void WriteFile(bool writing);
    const std::atomic<bool>& Flag() const;
    bool Interrupted() const { return Flag().load(); }
    // 128 + the first signal that arrived; 0 if none did.
    int ExitStatus() const;

private:
    struct sigaction m_previousInt {};
    struct sigaction m_previousTerm {};
};

}  // namespace orbitograph
