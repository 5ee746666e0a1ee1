#include "app/export_job.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <chrono>
#include <thread>

using namespace orbitograph;
using namespace std::chrono_literals;

// The job computes the grid, then writes it; a cancel that comes once the
// grid is computed stops the writer, which leaves no file; without one the
// archive is written and the progress ends at 1.
TEST(ExportJob, ACancelDuringTheWriteLeavesNoFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const bool cancel : {true, false}) {
        SCOPED_TRACE(cancel ? "cancelled" : "written");
        std::atomic<bool> computing{false};
        // Computes the grid whatever the flag says, after the test has had
        // its chance to raise it.
        SpacesEngine engine = [&](const ModelParams& p, std::int32_t ox, std::int32_t oy, const ComputeControl& c) {
            computing = true;
            const auto deadline = std::chrono::steady_clock::now() + 10s;
            while (cancel && !c.cancel->load() && std::chrono::steady_clock::now() < deadline)
                std::this_thread::sleep_for(1ms);
            ComputeControl own;
            own.kindGrid = own.startPointEnds = true;
            return ComputeSpaces(p, ox, oy, own);
        };
        const std::filesystem::path path = dir.filePath(cancel ? "stopped.npz" : "written.npz").toStdString();
        ExportRunner runner;
        std::optional<JobEnd> end;
        ExportOutcome outcome;
        runner.Request(NpzExportJob(engine, ModelParams{.step = 0.05}, 40, 40, path, "test"),
                       [&](ExportRunner::Delivery&& d) {
                           end = d.end;
                           outcome = std::move(d.result);
                       });
        ASSERT_TRUE(QTest::qWaitFor([&] { return computing.load(); }, 10000));
        if (cancel) runner.Cancel();
        ASSERT_TRUE(QTest::qWaitFor([&] { return end.has_value(); }, 20000));
        EXPECT_EQ(*end, cancel ? JobEnd::Cancelled : JobEnd::Done);
        EXPECT_EQ(std::filesystem::exists(path), !cancel);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path().toStdString()), {}), cancel ? 0 : 1)
            << "a temporary file left";
        EXPECT_TRUE(cancel || (outcome.saved.Ok() && runner.Progress() == 1.0));
    }
}
