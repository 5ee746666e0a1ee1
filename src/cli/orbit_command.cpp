#include "cli/orbit_command.h"

#include <cerrno>
#include <cmath>
#include <limits>

#include "cli/command_status.h"
#include "model/number_text.h"

namespace orbitograph {

std::string OrbitCsvNumber(double v) {
    if (std::isnan(v)) return "nan";
    if (std::isinf(v)) return v > 0 ? "inf" : "-inf";
    return FormatGeneral(v, 17);
}

std::string OrbitCsvLine(const ProbeRow& row) {
    std::string line = FormatInt(row.step) + "," + OrbitCsvNumber(row.x) + "," + OrbitCsvNumber(row.y) + ",";
    if (row.HasTerms()) {
        line += OrbitCsvNumber(row.p) + "," + OrbitCsvNumber(row.q) + "," + OrbitCsvNumber(row.cx) + "," +
                OrbitCsvNumber(row.cy) + ",";
    } else {
        line += ",,,,";
    }
    return line + (row.frozen ? "1\n" : "0\n");
}

bool WriteOrbitCsv(std::FILE* out, const ModelParams& p, double x0, double y0, std::int64_t limit) {
    if (std::fprintf(out, "%s\n", kOrbitCsvHeader) < 0) return false;
    bool written = true;
    FollowOrbit(p, x0, y0, limit < 0 ? std::numeric_limits<std::int64_t>::max() : limit, [&](const ProbeRow& row) {
        const std::string line = OrbitCsvLine(row);
        written = std::fwrite(line.data(), 1, line.size(), out) == line.size();
        return written;
    });
    return written;
}

int RunOrbitCommand(const RenderOptions& o, InterruptHandler& interrupt) {
    interrupt.SetLine(InterruptedLine("the orbit's rows so far were printed, the rest not"));
    errno = 0;
    const bool written = WriteOrbitCsv(stdout, o.request.params, o.orbitX0, o.orbitY0, o.orbitLimit);
    return StdoutWritten() && written ? 0 : kFailed;
}

}  // namespace orbitograph
