#pragma once

#include <atomic>
#include <csignal>
#include <iterator>
#include <string_view>

namespace orbitograph {

// The signals that end the command with status 128 + signal (SIGINT 130,
// SIGTERM 143, SIGHUP, SIGALRM, SIGUSR1, SIGUSR2, SIGPIPE), while SIGXFSZ
// is ignored so that a file-size limit fails a write with EFBIG, an
// ordinary failure. Made first thing in main; only one may exist, and the
// dispositions it replaces come back when it goes away; a signal that was
// ignored when it was made stays ignored. No thread is needed: the handler
// only does what is safe in a signal handler.
//
// While nothing needs undoing (the default: computing, printing, composing)
// the handler writes the line to stderr and ends the process at once;
// SIGPIPE then ends it silently, as its default action would (a reader of
// standard output went away). Once the command has begun writing a file
// (WriteFile(true)), the handler only records the signal and raises the
// stop flag, which the file writers read as they go; the command then
// removes what it wrote and exits with ExitStatus() itself.
class InterruptHandler {
public:
    // line: what stderr gets when the handler ends the process itself.
    explicit InterruptHandler(std::string_view line);
    ~InterruptHandler();
    InterruptHandler(const InterruptHandler&) = delete;
    InterruptHandler& operator=(const InterruptHandler&) = delete;

    // Replaces the line (cut at 400 bytes); from the main thread only.
    void SetLine(std::string_view line);
    void WriteFile(bool writing);
    const std::atomic<bool>& Flag() const;
    bool Interrupted() const { return Flag().load(); }
    // 128 + the first signal that arrived; 0 if none did.
    int ExitStatus() const;

private:
    static constexpr int kCaught[] = {SIGINT, SIGTERM, SIGHUP, SIGALRM, SIGUSR1, SIGUSR2, SIGPIPE};
    struct sigaction m_previous[std::size(kCaught)]{};
    struct sigaction m_previousFileSize {};
};

}  // namespace orbitograph
