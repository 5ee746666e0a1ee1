#pragma once

// The figures every engine case prints, each labelled by its counter name:
//   best_ms, mean_ms          the engine's best and mean time over the
//                             iterations (the machine is shared: the best is
//                             the least disturbed);
//   ref_ms                    the straightforward reference's time for the
//                             same work, measured in the same run;
//   ratio, ratio_mean         ref_ms over best_ms and over mean_ms;
//   points_per_s              start points a second at best_ms;
//   executed_steps_per_s      map steps the engine executed (counted by its
//                             kernels) a second at best_ms;
//   nominal_steps_per_s       the N + 1 steps per start point that the
//                             reference makes, a second at best_ms;
//   cpu_ms, ref_cpu_ms        the engine's best processor time (all its
//                             threads) and the reference's;
//   cpu_ratio                 ref_cpu_ms over cpu_ms: the work saved, which
//                             a busy machine disturbs far less than the
//                             elapsed times.

#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <chrono>

namespace orbitograph::bench {

using Clock = std::chrono::steady_clock;

inline double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// The shortest elapsed time of `times` calls of f, in seconds.
template <class F>
double Best(int times, F f) {
    double best = 1e300;
    for (int i = 0; i < times; ++i) {
        const Clock::time_point t0 = Clock::now();
        f();
        best = std::min(best, Seconds(Clock::now() - t0));
    }
    return best;
}

// Processor time of the calling thread, or of the whole process.
inline double CpuSeconds(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

struct Timing {
    double best = 1e300;
    double bestCpu = 1e300;
    double sum = 0.0;
    int runs = 0;
    void Add(double seconds, double cpu) {
        best = std::min(best, seconds);
        bestCpu = std::min(bestCpu, cpu);
        sum += seconds;
        ++runs;
    }
    double Mean() const { return runs ? sum / runs : 0.0; }
};

struct Work {
    double points = 0.0;
    double executedSteps = 0.0;
    double nominalSteps = 0.0;
};

inline void Report(benchmark::State& state, const Timing& t, const Work& w, double refSeconds, double refCpu) {
    state.counters["best_ms"] = t.best * 1e3;
    state.counters["mean_ms"] = t.Mean() * 1e3;
    state.counters["ref_ms"] = refSeconds * 1e3;
    state.counters["ratio"] = refSeconds / t.best;
    state.counters["ratio_mean"] = refSeconds / t.Mean();
    state.counters["points_per_s"] = w.points / t.best;
    state.counters["executed_steps_per_s"] = w.executedSteps / t.best;
    state.counters["nominal_steps_per_s"] = w.nominalSteps / t.best;
    state.counters["cpu_ms"] = t.bestCpu * 1e3;
    state.counters["ref_cpu_ms"] = refCpu * 1e3;
    state.counters["cpu_ratio"] = refCpu / t.bestCpu;
}

}  // namespace orbitograph::bench
