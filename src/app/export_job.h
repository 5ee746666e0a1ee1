#pragma once

// "Экспорт данных..." to an archive as a job for a job runner: the grid
// computed once more with every kind and end point, then written.

#include <cstdint>
#include <filesystem>
#include <string>

#include "app/job_runner.h"
#include "app/spaces_job.h"
#include "data/atomic_file.h"

namespace orbitograph {

struct ExportOutcome {
    SaveResult saved;  // Stopped when a cancel was seen, nothing written
    std::string why;   // the writer's line when it failed
    bool noMemory = false;
};

using ExportRunner = JobRunner<ExportOutcome>;

// Share of the progress that the computation of the grid takes; the write
// takes the rest.
inline constexpr double kExportComputeShare = 0.8;

// The job: the engine's grid of these parameters (which passed
// CheckParameters) at this origin, with kinds and end points, written to
// path as WriteGridNpz writes it. The runner's cancel flag stops the
// computation and the writer alike; a stopped or failed write leaves the
// target as it was.
ExportRunner::Job NpzExportJob(SpacesEngine engine, const ModelParams& params, std::int32_t originX,
                               std::int32_t originY, std::filesystem::path path, std::string version);

}  // namespace orbitograph
