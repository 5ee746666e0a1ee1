#include "model/parallel_for.h"

#include <algorithm>
#include <barrier>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace orbitograph {

namespace {

// The state the threads of one call share.
class BlockRun {
public:
    BlockRun(std::size_t blocks, const ParallelOptions& options, const BlockPasses& passes)
        : m_blocks(blocks),
          m_options(options),
          m_passes(passes),
          m_twoPasses(static_cast<bool>(passes.second)),
          m_owner(m_twoPasses ? blocks : 0) {}

    bool Run(int workers);

private:
    struct BetweenStep {
        BlockRun* run;
        void operator()() noexcept { run->Between(); }
    };

    bool Cancelled() const { return m_options.cancel && m_options.cancel->load(std::memory_order_relaxed); }
    void Work(int worker, std::barrier<BetweenStep>& sync) noexcept;
    void FirstPass(int worker);
    void Between() noexcept;
    void SecondPass(int worker);
    void Fail() noexcept;

    const std::size_t m_blocks;
    const ParallelOptions& m_options;
    const BlockPasses& m_passes;
    const bool m_twoPasses;
    std::vector<int> m_owner;  // the worker that ran each block's first pass
    std::atomic<std::size_t> m_next{0};
    std::atomic<bool> m_stop{false};  // a cancel seen or an exception caught
    bool m_proceed = false;           // written by Between, read after the barrier
    std::mutex m_errorMutex;
    std::exception_ptr m_error;
};

bool BlockRun::Run(int workers) {
    std::barrier<BetweenStep> sync(workers, BetweenStep{this});
    {
        std::vector<std::jthread> pool;
        try {
            pool.reserve(static_cast<std::size_t>(workers - 1));
            for (int t = 1; t < workers; ++t) {
                if (m_options.beforeThreadStart) m_options.beforeThreadStart(t);
                pool.emplace_back([this, t, &sync] { Work(t, sync); });
            }
        } catch (...) {
            // The blocks are handed out one at a time, so the threads that
            // did start run them all; the barrier stops waiting for the
            // others.
            if (m_options.threadsFellShort) *m_options.threadsFellShort = true;
            if (m_twoPasses) {
                for (std::size_t t = pool.size() + 1; t < static_cast<std::size_t>(workers); ++t)
                    sync.arrive_and_drop();
            }
        }
        Work(0, sync);
    }  // joined here
    if (m_error) std::rethrow_exception(m_error);
    return !m_stop && (!m_twoPasses || m_proceed);
}

void BlockRun::Work(int worker, std::barrier<BetweenStep>& sync) noexcept {
    try {
        FirstPass(worker);
    } catch (...) {
        Fail();
    }
    if (!m_twoPasses) return;
    sync.arrive_and_wait();
    if (!m_proceed) return;
    try {
        SecondPass(worker);
    } catch (...) {
        Fail();
    }
}

void BlockRun::FirstPass(int worker) {
    while (!m_stop.load(std::memory_order_relaxed)) {
        if (Cancelled()) {
            m_stop = true;
            return;
        }
        const std::size_t b = m_next.fetch_add(1, std::memory_order_relaxed);
        if (b >= m_blocks) return;
        if (m_twoPasses) m_owner[b] = worker;
        m_passes.first(b, worker);
    }
}

// On the last thread to reach the barrier, the others waiting.
void BlockRun::Between() noexcept {
    if (m_stop) return;
    try {
        m_proceed = m_passes.between ? m_passes.between() : true;
    } catch (...) {
        Fail();
    }
}

void BlockRun::SecondPass(int worker) {
    for (std::size_t b = 0; b < m_blocks && !m_stop.load(std::memory_order_relaxed); ++b) {
        if (m_owner[b] == worker) m_passes.second(b, worker);
    }
}

void BlockRun::Fail() noexcept {
    const std::lock_guard<std::mutex> lock(m_errorMutex);
    if (!m_error) m_error = std::current_exception();
    m_stop = true;
}

}  // namespace

int ThreadCount(int requested) {
    if (requested > 0) return requested;
    const unsigned cores = std::thread::hardware_concurrency();
    return cores == 0 ? 1 : static_cast<int>(cores);
}

bool ParallelFor(std::size_t blocks, const ParallelOptions& options, const BlockBody& body) {
    return ParallelFor(blocks, options, BlockPasses{body, {}, {}});
}

bool ParallelFor(std::size_t blocks, const ParallelOptions& options, const BlockPasses& passes) {
    if (blocks == 0) return !passes.second || !passes.between || passes.between();
    const int workers =
        static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(std::max(options.threads, 1)), blocks));
    return BlockRun(blocks, options, passes).Run(workers);
}

}  // namespace orbitograph
