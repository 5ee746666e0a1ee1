#include "app/job_runner.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <chrono>
#include <cmath>
#include <limits>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <system_error>
#include <thread>
#include <vector>

#include "app/export_job.h"

using namespace orbitograph;
using namespace std::chrono_literals;

namespace {

using Runner = JobRunner<double>;

// Jobs that wait, until cancelled, for a job of their value to be let
// through; a negative value waits without looking at the cancel flag, and a
// value above 10 throws at once. Each raises the progress to 0.5 (then asks
// for 0.25) before it waits, and delivers its value as Partial once it stops
// waiting.
struct Gate {
    std::mutex mutex;
    std::vector<double> started;
    std::atomic<int> running{0};
    std::atomic<int> cancelSeen{0};  // jobs that stopped waiting with the cancel flag raised
    std::atomic<double> letThrough{std::numeric_limits<double>::quiet_NaN()};

    Runner::Job Job(double value) {
        return [this, value](Runner::Context& job) {
            if (value > 10) throw std::range_error("too large");
            const ComputeControl control = job.Control();
            control.progress(0.5);
            control.progress(0.25);
            {
                std::lock_guard lock(mutex);
                started.push_back(value);
            }
            ++running;
            const auto deadline = std::chrono::steady_clock::now() + 10s;
            while (letThrough.load() != std::fabs(value) && (value < 0 || !control.cancel->load()) &&
                   std::chrono::steady_clock::now() < deadline)
                std::this_thread::sleep_for(1ms);
            if (control.cancel->load()) ++cancelSeen;
            job.Deliver(value);
            --running;
            return value;
        };
    }
    std::vector<double> Started() {
        std::lock_guard lock(mutex);
        return started;
    }
};

// Thread starts that fail once `left` runs out.
ThreadStarter Starter(std::shared_ptr<int> left) {
    return [left](std::function<void()> body) {
        if ((*left)-- <= 0) throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
        return std::jthread(std::move(body));
    };
}

}  // namespace

// Each row requests values in turn while the first job still runs, then
// lets the newest through (or cancels): only the newest request is
// answered, Partial then Done with its own value, or with one of the other
// ends; the requests in between never start, and a waiting request without
// a thread is answered, not lost. Every delivery queued to the runner is
// handed on before the count is taken.
TEST(JobRunner, OnlyTheNewestRequestIsAnsweredAndWaitingOnesNeverRun) {
    enum class Then { LetNewestThrough, Cancel, LetFirstThrough };
    const struct {
        const char* name;
        std::vector<double> requests;  // the value of each
        int threads;                   // threads that can be made
        Then then;
        JobEnd end;
        std::vector<double> expectStarted;
    } rows[] = {
        {"three quick changes", {0.3, 0.5, 0.9}, 9, Then::LetNewestThrough, JobEnd::Done, {0.3, 0.9}},
        {"a job that finishes although cancelled", {-0.3, 0.4}, 9, Then::LetNewestThrough, JobEnd::Done, {-0.3, 0.4}},
        {"cancel drops the waiting one", {0.3, 0.5, 0.7}, 9, Then::Cancel, JobEnd::Cancelled, {0.3}},
        {"a cancelled job that finishes", {-0.3}, 9, Then::Cancel, JobEnd::Cancelled, {-0.3}},
        {"no thread for the waiting one", {0.3, 0.5}, 1, Then::LetFirstThrough, JobEnd::NotStarted, {0.3}},
        {"a job that throws, superseding", {0.3, 13}, 9, Then::LetFirstThrough, JobEnd::Failed, {0.3}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Gate gate;
        std::vector<Runner::Delivery> answered;
        {
            Runner runner(Starter(std::make_shared<int>(row.threads)));
            for (std::size_t i = 0; i < row.requests.size(); ++i) {
                EXPECT_EQ(runner.Request(gate.Job(row.requests[i]),
                                         [&](Runner::Delivery&& d) { answered.push_back(std::move(d)); }),
                          i + 1);
                if (i == 0) {
                    ASSERT_TRUE(QTest::qWaitFor([&] { return gate.running > 0; }, 5000));
                    EXPECT_EQ(runner.Progress(), 0.5);
                }
            }
            EXPECT_TRUE(runner.Running());
            if (row.then == Then::Cancel) runner.Cancel();
            if (row.then == Then::LetFirstThrough || row.requests[0] < 0) gate.letThrough = 0.3;
            if (row.then == Then::LetNewestThrough) {
                if (row.requests[0] < 0) {  // the stale job returns, then the newest starts
                    ASSERT_TRUE(QTest::qWaitFor([&] { return gate.Started().size() == 2; }, 5000));
                }
                gate.letThrough = std::fabs(row.requests.back());
            }
            ASSERT_TRUE(QTest::qWaitFor([&] { return !runner.Running(); }, 5000));
            QCoreApplication::sendPostedEvents(&runner);
            EXPECT_EQ(runner.Generation(), row.requests.size());
        }
        EXPECT_EQ(gate.Started(), row.expectStarted);
        ASSERT_EQ(answered.size(), row.end == JobEnd::Done ? 2u : 1u);
        const Runner::Delivery& last = answered.back();
        EXPECT_EQ(last.generation, row.requests.size());
        EXPECT_EQ(last.end, row.end);
        EXPECT_EQ(static_cast<bool>(last.error), row.end == JobEnd::Failed);
        if (row.end == JobEnd::Done) {
            EXPECT_EQ(answered[0].end, JobEnd::Partial);
            EXPECT_EQ(answered[0].generation, last.generation);
            EXPECT_EQ(answered[0].result, row.requests.back());
            EXPECT_EQ(last.result, row.requests.back());
        } else {
            EXPECT_EQ(last.result, 0.0);
        }
    }
}

// A request that gets no thread while nothing runs throws and leaves the
// runner idle, so a later one can start; destruction cancels a running job,
// waits for its thread and hands nothing on.
TEST(JobRunner, AFailedStartChangesNothingAndDestructionCancelsAndJoins) {
    Gate gate;
    std::vector<JobEnd> answered;
    const auto keep = [&answered](Runner::Delivery&& d) { answered.push_back(d.end); };
    const auto threads = std::make_shared<int>(0);
    {
        Runner runner(Starter(threads));
        EXPECT_THROW(runner.Request(gate.Job(0.3), keep), std::system_error);
        EXPECT_FALSE(runner.Running());
        EXPECT_EQ(runner.Generation(), 0u);
        *threads = 1;
        EXPECT_EQ(runner.Request(gate.Job(0.3), keep), 1u);
        ASSERT_TRUE(QTest::qWaitFor([&] { return gate.running > 0; }, 5000));
    }
    EXPECT_EQ(gate.running.load(), 0);
    EXPECT_EQ(gate.cancelSeen.load(), 1);
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(answered.empty());
}

// A cancel that comes once the grid is computed reaches the writer, which
// leaves no file, temporary or final.
TEST(ExportJob, ACancelDuringTheWriteLeavesNoFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    std::atomic<bool> computing{false};
    // Waits for the cancel, then computes the grid all the same.
    SpacesEngine engine = [&](const ModelParams& p, std::int32_t ox, std::int32_t oy, const ComputeControl& c) {
        computing = true;
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (!c.cancel->load() && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(1ms);
        ComputeControl own;
        own.kindGrid = own.startPointEnds = true;
        return ComputeSpaces(p, ox, oy, own);
    };
    ExportRunner runner;
    std::optional<ExportOutcome> outcome;
    runner.Request(NpzExportJob(engine, ModelParams{.step = 0.05}, 40, 40, dir.filePath("g.npz").toStdString(), ""),
                   [&](ExportRunner::Delivery&& d) { outcome = std::move(d.result); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return computing.load(); }, 10000));
    runner.Cancel();
    ASSERT_TRUE(QTest::qWaitFor([&] { return outcome.has_value(); }, 20000));
    EXPECT_TRUE(QDir(dir.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
}
