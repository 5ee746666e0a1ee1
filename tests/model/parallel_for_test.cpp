#include "model/parallel_for.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <stdexcept>
#include <system_error>
#include <vector>

using namespace orbitograph;

namespace {

// What the bodies of one run saw.
struct Seen {
    explicit Seen(std::size_t blocks) : first(blocks), second(blocks), firstWorker(blocks, -1) {}
    std::vector<std::atomic<int>> first, second;
    std::vector<int> firstWorker;  // each slot written by one body only
    std::atomic<int> running{0};   // bodies running now
    std::atomic<int> mostWorker{-1};
    std::mutex mutex;
    std::vector<std::pair<int, std::size_t>> secondOrder;  // (worker, block)
    std::optional<int> firstDoneAtBetween;
    int betweenCalls = 0;
};

ParallelOptions Options(int threads, int refusedFrom, bool* fellShort) {
    ParallelOptions o;
    o.threads = threads;
    o.threadsFellShort = fellShort;
    o.beforeThreadStart = [refusedFrom](int worker) {
        if (worker >= refusedFrom)
            throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    };
    return o;
}

}  // namespace

// Every block runs exactly once through each pass, for any thread count and
// threads the system refuses (from the given one on: the others, at least
// the calling thread, take their share); the second pass runs each block on
// the worker of its first, in increasing order, after `between` saw every
// first pass done.
TEST(ParallelFor, EveryBlockOnceForAnyThreadCountAndRefusedThreads) {
    const struct {
        std::size_t blocks;
        int threads;
        int refusedFrom;
        bool twoPasses;
    } rows[] = {{0, 4, 99, true},   {1, 4, 99, true},  {7, 1, 99, false},  {7, 0, 99, true},  {100, 3, 99, false},
                {100, 3, 99, true}, {100, 8, 1, true}, {100, 8, 3, false}, {100, 8, 5, true}, {5, 64, 99, true}};
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.blocks << " blocks, " << r.threads << " threads, refused from "
                                        << r.refusedFrom << (r.twoPasses ? ", two passes" : ""));
        Seen seen(r.blocks);
        bool fellShort = false;
        const BlockBody first = [&seen](std::size_t b, int worker) {
            ++seen.first[b];
            seen.firstWorker[b] = worker;
            int most = seen.mostWorker.load();
            while (worker > most && !seen.mostWorker.compare_exchange_weak(most, worker)) {
            }
        };
        const BlockPasses passes{first,
                                 [&seen] {
                                     int done = 0;
                                     for (const auto& f : seen.first) done += f.load();
                                     seen.firstDoneAtBetween = done;
                                     ++seen.betweenCalls;
                                     return true;
                                 },
                                 [&seen](std::size_t b, int worker) {
                                     ++seen.second[b];
                                     const std::lock_guard lock(seen.mutex);
                                     seen.secondOrder.emplace_back(worker, b);
                                 }};
        const ParallelOptions options = Options(r.threads, r.refusedFrom, &fellShort);
        EXPECT_TRUE(r.twoPasses ? ParallelFor(r.blocks, options, passes) : ParallelFor(r.blocks, options, first));
        const int started = std::min({std::max(r.threads, 1), r.refusedFrom, static_cast<int>(r.blocks)});
        const int expected = std::min(std::max(r.threads, 1), static_cast<int>(r.blocks));
        EXPECT_EQ(fellShort, started < expected);
        EXPECT_LT(seen.mostWorker.load(), std::max(started, 1));
        for (std::size_t b = 0; b < r.blocks; ++b) {
            EXPECT_EQ(seen.first[b].load(), 1) << b;
            EXPECT_EQ(seen.second[b].load(), r.twoPasses ? 1 : 0) << b;
        }
        if (!r.twoPasses) continue;
        EXPECT_EQ(seen.betweenCalls, 1);
        EXPECT_EQ(seen.firstDoneAtBetween, static_cast<int>(r.blocks));
        std::vector<std::size_t> lastOf(static_cast<std::size_t>(expected) + 1, 0);
        for (const auto& [worker, b] : seen.secondOrder) {
            EXPECT_EQ(worker, seen.firstWorker[b]) << b;
            EXPECT_LE(lastOf[static_cast<std::size_t>(worker)], b);
            lastOf[static_cast<std::size_t>(worker)] = b;
        }
    }
}

// A cancel stops the handing out of blocks and skips `between`; `between`
// saying no skips the second pass; an exception from any pass reaches the
// caller once no body runs any more, also when threads fell short.
TEST(ParallelFor, CancelRefusalAndExceptionsStopTheRun) {
    enum class Stop { CancelBefore, CancelAtBlock, BetweenSaysNo, ThrowAtBlock, ThrowBetween, ThrowSecond };
    const struct {
        Stop stop;
        int threads;
        int refusedFrom;
    } rows[] = {{Stop::CancelBefore, 4, 99},  {Stop::CancelAtBlock, 1, 99}, {Stop::CancelAtBlock, 4, 99},
                {Stop::BetweenSaysNo, 4, 99}, {Stop::ThrowAtBlock, 1, 99},  {Stop::ThrowAtBlock, 4, 2},
                {Stop::ThrowBetween, 3, 99},  {Stop::ThrowSecond, 4, 99}};
    constexpr std::size_t kBlocks = 400;
    constexpr std::size_t kAt = 10;
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(r.stop) << ", " << r.threads << " threads");
        std::atomic<bool> cancel{r.stop == Stop::CancelBefore};
        std::atomic<int> firsts{0}, seconds{0}, running{0};
        int betweens = 0;
        bool fellShort = false;
        ParallelOptions options = Options(r.threads, r.refusedFrom, &fellShort);
        options.cancel = &cancel;
        const BlockPasses passes{[&](std::size_t b, int) {
                                     ++running;
                                     ++firsts;
                                     if (b == kAt && r.stop == Stop::CancelAtBlock) cancel = true;
                                     if (b == kAt && r.stop == Stop::ThrowAtBlock) {
                                         --running;
                                         throw std::bad_alloc();
                                     }
                                     --running;
                                 },
                                 [&] {
                                     ++betweens;
                                     if (r.stop == Stop::ThrowBetween) throw std::invalid_argument("between");
                                     return r.stop != Stop::BetweenSaysNo;
                                 },
                                 [&](std::size_t b, int) {
                                     ++seconds;
                                     if (b == kAt && r.stop == Stop::ThrowSecond) throw std::bad_alloc();
                                 }};
        std::optional<bool> answer;
        bool badAlloc = false, invalid = false;
        try {
            answer = ParallelFor(kBlocks, options, passes);
        } catch (const std::bad_alloc&) {
            badAlloc = true;
        } catch (const std::invalid_argument&) {
            invalid = true;
        }
        EXPECT_EQ(running.load(), 0);
        const bool throws = r.stop == Stop::ThrowAtBlock || r.stop == Stop::ThrowSecond;
        EXPECT_EQ(badAlloc, throws);
        EXPECT_EQ(invalid, r.stop == Stop::ThrowBetween);
        EXPECT_EQ(answer, throws || invalid ? std::nullopt : std::optional<bool>(false));
        EXPECT_EQ(fellShort, r.refusedFrom < r.threads);
        const bool firstPassStopped = r.stop == Stop::CancelAtBlock || r.stop == Stop::ThrowAtBlock;
        // With one thread no block starts after the one that stopped the run.
        const int lastFirst = r.stop == Stop::CancelBefore ? 0 : static_cast<int>(kAt) + 1;
        if (r.stop == Stop::CancelBefore || (firstPassStopped && r.threads == 1)) {
            EXPECT_EQ(firsts.load(), lastFirst);
        }
        EXPECT_EQ(betweens, r.stop == Stop::CancelBefore || firstPassStopped ? 0 : 1);
        if (r.stop != Stop::ThrowSecond) {
            EXPECT_EQ(seconds.load(), 0);
        }
    }
}

TEST(ParallelFor, ThreadCountIsTheRequestOrEveryCore) {
    EXPECT_EQ(ThreadCount(3), 3);
    EXPECT_GE(ThreadCount(0), 1);
    EXPECT_EQ(ThreadCount(-2), ThreadCount(0));
}
