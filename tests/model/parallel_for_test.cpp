#include "model/parallel_for.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <new>
#include <numeric>
#include <optional>
#include <stdexcept>
#include <system_error>
#include <tuple>
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
// first pass done. A cancel stops the handing out of blocks and skips
// `between`; `between` saying no skips the second pass; an exception from any
// pass reaches the caller once no body runs any more, also when threads fell
// short.
TEST(ParallelFor, EveryBlockOnceUnlessStopped) {
    enum class Stop { None, CancelBefore, CancelAtBlock, BetweenSaysNo, ThrowAtBlock, ThrowBetween, ThrowSecond };
    using enum Stop;
    struct Row {
        std::size_t blocks;
        int threads;
        int refusedFrom;
        bool twoPasses;
        Stop stop = None;
    };
    std::vector<Row> rows = {{0, 4, 99, true},    {1, 4, 99, true},   {7, 1, 99, false}, {7, 0, 99, true},
                             {100, 3, 99, false}, {100, 3, 99, true}, {100, 8, 1, true}, {100, 8, 3, false},
                             {100, 8, 5, true},   {5, 64, 99, true}};
    // The stopped runs: 400 blocks in two passes.
    const std::tuple<Stop, int, int> stops[] = {{CancelBefore, 4, 99},  {CancelAtBlock, 1, 99}, {CancelAtBlock, 4, 99},
                                                {BetweenSaysNo, 4, 99}, {ThrowAtBlock, 1, 99},  {ThrowAtBlock, 4, 2},
                                                {ThrowBetween, 3, 99},  {ThrowSecond, 4, 99}};
    for (const auto& [stop, threads, refusedFrom] : stops) rows.push_back({400, threads, refusedFrom, true, stop});
    constexpr std::size_t kAt = 10;
    const auto total = [](const std::vector<std::atomic<int>>& v) { return std::accumulate(v.begin(), v.end(), 0); };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.blocks << " blocks, " << r.threads << " threads, refused from "
                                        << r.refusedFrom << (r.twoPasses ? ", two passes" : "") << ", stop "
                                        << static_cast<int>(r.stop));
        std::atomic<bool> cancel{r.stop == CancelBefore};
        std::atomic<int> running{0};
        std::vector<std::atomic<int>> firsts(r.blocks), seconds(r.blocks);
        std::vector<int> firstWorker(r.blocks, -1);
        std::vector<std::vector<std::size_t>> secondOn(static_cast<std::size_t>(std::max(r.threads, 1)));
        int betweens = 0, doneAtBetween = -1;
        BlockPasses passes;
        passes.first = [&](std::size_t b, int worker) {
            ++running, ++firsts[b], firstWorker[b] = worker;
            if (b == kAt && r.stop == CancelAtBlock) cancel = true;
            --running;
            if (b == kAt && r.stop == ThrowAtBlock) throw std::bad_alloc();
        };
        passes.between = [&] {
            ++betweens, doneAtBetween = total(firsts);
            if (r.stop == ThrowBetween) throw std::invalid_argument("between");
            return r.stop != BetweenSaysNo;
        };
        passes.second = [&](std::size_t b, int w) {
            ++seconds[b], secondOn[static_cast<std::size_t>(w)].push_back(b);
            if (b == kAt && r.stop == ThrowSecond) throw std::bad_alloc();
        };
        bool fellShort = false;
        ParallelOptions options = Options(r.threads, r.refusedFrom, &fellShort);
        options.cancel = &cancel;
        std::optional<bool> answer;
        bool badAlloc = false, invalid = false;
        try {
            answer =
                r.twoPasses ? ParallelFor(r.blocks, options, passes) : ParallelFor(r.blocks, options, passes.first);
        } catch (const std::bad_alloc&) {
            badAlloc = true;
        } catch (const std::invalid_argument&) {
            invalid = true;
        }
        const bool throws = r.stop == ThrowAtBlock || r.stop == ThrowSecond;
        EXPECT_EQ(running.load(), 0);
        EXPECT_EQ(std::pair(badAlloc, invalid), std::pair(throws, r.stop == ThrowBetween));
        EXPECT_EQ(answer, throws || invalid ? std::nullopt : std::optional<bool>(r.stop == None));
        const int asked = std::min(std::max(r.threads, 1), static_cast<int>(r.blocks));
        const int started = std::min(asked, r.refusedFrom);
        EXPECT_EQ(fellShort, started < asked);
        if (r.stop != None) {
            const bool firstPassStopped = r.stop == CancelAtBlock || r.stop == ThrowAtBlock;
            // With one thread no block starts after the one that stopped the run.
            if (r.stop == CancelBefore || (firstPassStopped && r.threads == 1)) {
                EXPECT_EQ(total(firsts), r.stop == CancelBefore ? 0 : static_cast<int>(kAt) + 1);
            }
            EXPECT_EQ(betweens, r.stop == CancelBefore || firstPassStopped ? 0 : 1);
            EXPECT_EQ(total(seconds) > 0, r.stop == ThrowSecond);
            continue;
        }
        for (std::size_t b = 0; b < r.blocks; ++b) {
            EXPECT_EQ(firsts[b].load(), 1) << b;
            EXPECT_EQ(seconds[b].load(), r.twoPasses ? 1 : 0) << b;
            EXPECT_LT(firstWorker[b], started) << b;
        }
        if (!r.twoPasses) continue;
        EXPECT_EQ(std::pair(betweens, doneAtBetween), std::pair(1, static_cast<int>(r.blocks)));
        for (std::size_t w = 0; w < secondOn.size(); ++w) {
            EXPECT_TRUE(std::is_sorted(secondOn[w].begin(), secondOn[w].end())) << w;
            for (const std::size_t b : secondOn[w]) EXPECT_EQ(firstWorker[b], static_cast<int>(w)) << b;
        }
    }
}
