#include "data/track_text.h"

#include <cmath>

#include "data/metrics_text.h"
#include "model/number_text.h"

namespace orbitograph {

namespace {

std::string CsvReal(double v) { return std::isfinite(v) ? FormatShortest(v) : "nan"; }

}  // namespace

std::string SetJsonKeys(std::int64_t cycles, const LabelMetrics* metrics) {
    std::string out = cycles >= 0 ? ", \"cycles\": " + FormatInt(cycles) : "";
    if (metrics != nullptr) {
        const std::string object = MetricsJson(*metrics);
        out += ", " + object.substr(1, object.size() - 2);
    }
    return out;
}

std::string SetCsvFields(std::int64_t cycles, const LabelMetrics* metrics) {
    std::string out = cycles >= 0 ? "," + FormatInt(cycles) : "";
    if (metrics != nullptr) {
        out += "," + CsvReal(metrics->sb) + "," + CsvReal(metrics->sbb) + "," + FormatInt(metrics->boundaryBoxes) +
               "," + FormatInt(metrics->boxes);
        for (const DistanceShare& s : metrics->f) out += "," + CsvReal(s.f);
        out += "," + CsvReal(metrics->alpha);
    }
    return out;
}

std::string SetCsvHeader(bool cycles, const LabelMetrics* metrics) {
    std::string out = cycles ? ",cycles" : "";
    if (metrics != nullptr) {
        out += ",Sb,Sbb,boundary_boxes,boxes";
        for (const DistanceShare& s : metrics->f) out += ",f_" + FormatInt(s.k);
        out += ",alpha";
    }
    return out;
}

std::string TrackJsonLine(std::string_view param, const std::string& valueText, const TrackPoint& t) {
    return "{\"" + std::string(param) + "\": " + valueText + ", \"track\": " + FormatInt(t.track) +
           ", \"period\": " + FormatInt(t.period) + ", \"x\": " + FormatShortest(t.x) +
           ", \"y\": " + FormatShortest(t.y) + ", \"share\": " + FormatShortest(t.share) + "}";
}

std::string TrackCsvHeader(std::string_view param) { return std::string(param) + ",track,period,x,y,share"; }

std::string TrackCsvLine(const std::string& valueText, const TrackPoint& t) {
    return valueText + "," + FormatInt(t.track) + "," + FormatInt(t.period) + "," + FormatShortest(t.x) + "," +
           FormatShortest(t.y) + "," + FormatShortest(t.share);
}

}  // namespace orbitograph
