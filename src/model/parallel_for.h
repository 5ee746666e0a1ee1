#pragma once

// One loop over numbered blocks of work on several threads: the grid
// engine's blocks, the sweeps' slices and the fitted display's columns.
//
// The calling thread and threads - 1 std::jthreads, started for the call and
// joined before it returns, take the blocks 0, 1, 2, ... in increasing order
// from one atomic counter, so each block runs exactly once whichever thread
// takes it. A thread that cannot be started (the system refuses it, or
// memory for it runs out), and every one after it, is left out: the others,
// at least the calling one, take its share. An exception thrown by the work
// stops the handing out of blocks and is rethrown to the caller, once every
// thread has been joined.

#include <atomic>
#include <cstddef>
#include <functional>

namespace orbitograph {

// The threads a computation asked for: `requested` when positive, else one
// per core the system reports (1 when it reports none).
int ThreadCount(int requested);

// The work of one block on the thread `worker`, from 0 (the calling thread)
// to the number of threads - 1. Bodies on different workers run at once.
using BlockBody = std::function<void(std::size_t block, int worker)>;

struct ParallelOptions {
    // Threads, the calling one included; below 1 counts as 1, and no more
    // are started than there are blocks.
    int threads = 1;
    // Read before each block is taken: once it is true no further block
    // starts. May be null.
    const std::atomic<bool>* cancel = nullptr;
    // When not null, set to true (on the calling thread) when some threads
    // could not be started; also when the call then throws.
    bool* threadsFellShort = nullptr;
    // Called on the calling thread before each thread (1, 2, ...) is
    // started; an exception from it acts as the system refusing that thread
    // and those after it. For tests.
    std::function<void(int worker)> beforeThreadStart;
};

// Runs body for every block in [0, blocks). Returns true when every block
// ran, false when a cancel was seen (some blocks may then not have run).
// With no blocks nothing runs and the answer is true.
bool ParallelFor(std::size_t blocks, const ParallelOptions& options, const BlockBody& body);

// Two passes over the same blocks on the same threads: every block through
// `first`; then, once all are done, `between` once on one thread while the
// others wait; when it returns true, every block through `second` on the
// thread that ran it through `first` (whose cache still holds its results),
// in increasing order on each thread. A cancel is seen only in the first
// pass: `between` is not called after one.
struct BlockPasses {
    BlockBody first;
    std::function<bool()> between;
    BlockBody second;
};

// Returns true when every block went through both passes; false after a
// cancel or when `between` returned false. An exception from any of the
// three is rethrown as above.
bool ParallelFor(std::size_t blocks, const ParallelOptions& options, const BlockPasses& passes);

}  // namespace orbitograph
