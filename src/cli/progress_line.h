#pragma once

#include <atomic>
#include <cstdio>
#include <functional>
#include <stop_token>
#include <thread>

namespace orbitograph {

// Starts the thread that runs the body; may throw std::system_error.
using ThreadStart = std::function<std::jthread(std::function<void(std::stop_token)> body)>;

std::jthread StartThread(std::function<void(std::stop_token)> body);

// A one-line progress display on a terminal: "computing  42%", shown at 0 %
// when the object is made (so every computation shows it, however short),
// redrawn in place at most ten times a second by a thread of its own and
// erased when the object goes away. Disabled, it shows nothing and its
// callback is empty; it is disabled when its thread cannot be started.
class ProgressLine {
public:
    // terminal null: disabled.
    explicit ProgressLine(std::FILE* terminal, const ThreadStart& start = StartThread);
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // For ComputeControl::progress: cheap and callable from any thread.
    std::function<void(double)> Callback();

private:
    void Print(int percent);
    void Show(std::stop_token stop);

    std::FILE* m_terminal;
    std::atomic<int> m_permille{0};
    std::jthread m_thread;
};

}  // namespace orbitograph
