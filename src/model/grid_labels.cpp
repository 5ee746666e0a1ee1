#include "model/grid_labels.h"

namespace orbitograph {

std::uint8_t LabelOf(EndKind kind) {
    switch (kind) {
        case EndKind::Infinity: return kLabelInfinity;
        case EndKind::Zero: return kLabelZero;
        case EndKind::T: return kLabelT;
        case EndKind::O: return kLabelO;
        case EndKind::M: return kLabelM;
        case EndKind::H: return kLabelH;
        case EndKind::None: break;
    }
    return kLabelNoList;
}

namespace {

template <class Out, class Grid, class Convert>
std::vector<Out> Transpose(const Grid& in, std::size_t columns, std::size_t rows, Convert convert) {
    std::vector<Out> out(in.size());
    for (std::size_t c = 0; c < columns; ++c) {
        const auto* column = in.data() + c * rows;
        for (std::size_t r = 0; r < rows; ++r) out[r * columns + c] = convert(column[r]);
    }
    return out;
}

}  // namespace

std::vector<std::uint8_t> LabelRows(std::span<const EndKind> kinds, std::size_t columns, std::size_t rows) {
    return Transpose<std::uint8_t>(kinds, columns, rows, LabelOf);
}

std::vector<double> GridRows(std::span<const double> values, std::size_t columns, std::size_t rows) {
    return Transpose<double>(values, columns, rows, [](double v) { return v; });
}

std::vector<std::int32_t> GridRows(std::span<const std::int32_t> values, std::size_t columns, std::size_t rows) {
    return Transpose<std::int32_t>(values, columns, rows, [](std::int32_t v) { return v; });
}

}  // namespace orbitograph
