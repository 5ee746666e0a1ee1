#include "request/metrics_request.h"

#include <charconv>
#include <stdexcept>

#include "model/grid_labels.h"
#include "model/number_text.h"
#include "request/refusal_text.h"

namespace orbitograph {

namespace {

// A positive 32-bit integer that is the whole text.
bool PositiveInt(std::string_view text, std::int32_t& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && !text.empty() && value >= 1;
}

bool Refused(std::string& error, std::string_view option, const std::string& expected, std::string_view text) {
    error = std::string(option) + ": expected " + expected + ", got " + Quoted(text);
    return false;
}

}  // namespace

bool ReadMetricsBox(MetricsRequest& m, std::string_view option, std::string_view text, std::string& error) {
    std::int32_t box = 0;
    if (!PositiveInt(text, box)) return Refused(error, option, "an integer from 1 to 2147483647", text);
    m.box = box;
    return true;
}

bool ReadMetricsDistances(MetricsRequest& m, std::string_view option, std::string_view text, std::string& error) {
    std::vector<std::int32_t> ks;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        std::int32_t k = 0;
        if (!PositiveInt(text.substr(start, comma - start), k) || (!ks.empty() && k <= ks.back()) ||
            ks.size() == kMaxMetricsDistances)
            return Refused(
                error, option,
                "at most " + FormatInt(kMaxMetricsDistances) + " increasing positive integers separated by commas",
                text);
        ks.push_back(k);
        start = comma + 1;
    }
    m.ks = std::move(ks);
    return true;
}

bool ReadMetricsOf(MetricsRequest& m, std::string_view option, std::string_view text, std::string& error) {
    if (text == "kinds")
        m.of = MetricsOf::Kinds;
    else if (text == "attractor")
        m.of = MetricsOf::Attractor;
    else
        return Refused(error, option, "kinds or attractor", text);
    return true;
}

LabelMetrics MetricsOfGrid(const ModelParams& p, const SpaceLists& lists, const MetricsRequest& m) {
    const auto columns = static_cast<std::size_t>(CountColumns(p));
    const auto rows = static_cast<std::size_t>(CountRows(p));
    if (m.of == MetricsOf::Kinds) {
        if (lists.kinds.size() != columns * rows) throw std::invalid_argument("the grid's kinds were not computed");
        const std::vector<std::uint8_t> labels = LabelRows(lists.kinds, columns, rows);
        return ComputeLabelMetrics<std::uint8_t>(labels, rows, columns, p.step, m.box, m.ks);
    }
    if (lists.analysis.size() != columns * rows) throw std::invalid_argument("the grid's analysis was not computed");
    const std::vector<std::int32_t> labels = GridRows(lists.analysis.Attractor(), columns, rows);
    return ComputeLabelMetrics<std::int32_t>(labels, rows, columns, p.step, m.box, m.ks);
}

}  // namespace orbitograph
