#include "model/parallel_for.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <new>
#include <numeric>
#include <optional>
#include <stdexcept>
#include <system_error>
#include <vector>

using namespace orbitograph;

namespace {

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
        std::vector<std::atomic<int>> firsts(r.blocks), seconds(r.blocks);
        std::vector<int> firstWorker(r.blocks, -1);
        std::vector<std::vector<std::size_t>> secondOn(static_cast<std::size_t>(std::max(r.threads, 1)));
        int betweens = 0, doneAtBetween = -1;
        BlockPasses passes;
        passes.first = [&](std::size_t b, int worker) { ++firsts[b], firstWorker[b] = worker; };
        passes.between = [&] {
            ++betweens;
            doneAtBetween = std::accumulate(firsts.begin(), firsts.end(), 0);
            return true;
        };
        passes.second = [&](std::size_t b, int w) { ++seconds[b], secondOn[static_cast<std::size_t>(w)].push_back(b); };
        bool fellShort = false;
        const ParallelOptions options = Options(r.threads, r.refusedFrom, &fellShort);
        EXPECT_TRUE(r.twoPasses ? ParallelFor(r.blocks, options, passes)
                                : ParallelFor(r.blocks, options, passes.first));
        const int asked = std::min(std::max(r.threads, 1), static_cast<int>(r.blocks));
        const int started = std::min(asked, r.refusedFrom);
        EXPECT_EQ(fellShort, started < asked);
        for (std::size_t b = 0; b < r.blocks; ++b) {
            EXPECT_EQ(firsts[b].load(), 1) << b;
            EXPECT_EQ(seconds[b].load(), r.twoPasses ? 1 : 0) << b;
            EXPECT_LT(firstWorker[b], started) << b;
        }
        if (!r.twoPasses) continue;
        EXPECT_EQ(betweens, 1);
        EXPECT_EQ(doneAtBetween, static_cast<int>(r.blocks));
        for (std::size_t w = 0; w < secondOn.size(); ++w) {
            EXPECT_TRUE(std::is_sorted(secondOn[w].begin(), secondOn[w].end())) << w;
            for (const std::size_t b : secondOn[w]) EXPECT_EQ(firstWorker[b], static_cast<int>(w)) << b;
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
        BlockPasses passes;
        passes.first = [&](std::size_t b, int) {
            ++running, ++firsts;
            if (b == kAt && r.stop == Stop::CancelAtBlock) cancel = true;
            --running;
            if (b == kAt && r.stop == Stop::ThrowAtBlock) throw std::bad_alloc();
        };
        passes.between = [&] {
            ++betweens;
            if (r.stop == Stop::ThrowBetween) throw std::invalid_argument("between");
            return r.stop != Stop::BetweenSaysNo;
        };
        passes.second = [&](std::size_t b, int) {
            ++seconds;
            if (b == kAt && r.stop == Stop::ThrowSecond) throw std::bad_alloc();
        };
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
        EXPECT_EQ(seconds.load() > 0, r.stop == Stop::ThrowSecond);
    }
}
