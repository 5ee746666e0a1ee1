#include "cli/progress_line.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <utility>

namespace orbitograph {

std::jthread StartThread(std::function<void(std::stop_token)> body) { return std::jthread(std::move(body)); }

ProgressLine::ProgressLine(std::FILE* terminal, const ThreadStart& start) : m_terminal(terminal) {
    if (!m_terminal) return;
    try {
        m_thread = start([this](std::stop_token stop) { Show(stop); });
    } catch (const std::system_error&) {
        m_terminal = nullptr;
        return;
    }
    Print(0);
}

ProgressLine::~ProgressLine() {
    if (!m_thread.joinable()) return;
    m_thread.request_stop();
    m_thread.join();
    std::fputs("\r\033[K", m_terminal);
    std::fflush(m_terminal);
}

std::function<void(double)> ProgressLine::Callback() {
    if (!m_terminal) return {};
    return [this](double fraction) {
        const int permille = fraction <= 0.0 ? 0 : fraction >= 1.0 ? 1000 : static_cast<int>(fraction * 1000.0);
        // Workers report in any order; the line only moves forward.
        int seen = m_permille.load(std::memory_order_relaxed);
        while (permille > seen && !m_permille.compare_exchange_weak(seen, permille, std::memory_order_relaxed)) {
        }
    };
}

void ProgressLine::Print(int percent) {
    std::fprintf(m_terminal, "\rcomputing %3d%%", percent);
    std::fflush(m_terminal);
}

void ProgressLine::Show(std::stop_token stop) {
    std::mutex mutex;
    std::condition_variable_any wake;
    int shown = 0;  // the constructor showed 0 %
    std::unique_lock lock(mutex);
    while (!stop.stop_requested()) {
        const int permille = m_permille.load(std::memory_order_relaxed);
        if (permille / 10 != shown) {
            shown = permille / 10;
            Print(shown);
        }
        wake.wait_for(lock, stop, std::chrono::milliseconds(100), [] { return false; });
    }
}

}  // namespace orbitograph
