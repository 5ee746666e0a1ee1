#include "app/export_job.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <chrono>
#include <thread>

using namespace orbitograph;
using namespace std::chrono_literals;

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
