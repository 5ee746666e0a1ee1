#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "dialogs/exchange_dialog.h"
#include "model/model_params.h"
#include "model/sweep.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace orbitograph {

// One axis of a sweep or a plane: the parameter (a SweepParam as an int),
// the first and the last value and the number of values.
struct SweepAxis {
    std::int32_t m_param;
    double m_from;
    double m_to;
    std::int32_t m_count;
};

// The ranges of "Развёртка по параметру..." (axis 1, m_axes[0]) and
// "Плоскость параметров..." (axes 1 and 2). The window keeps the last
// confirmed ones.
// m_chart: what a sweep's chart shows, 0 "Доли областей" (the fractions
// of each kind), 1 "Доли аттракторов" (the basin shares of the attractors'
// tracks, model/continuation.h).
struct SweepRanges {
    SweepAxis m_axes[2] = {{0, 0.3, 1.3, 101}, {1, 0.0, 1.0, 64}};
    std::int32_t m_chart = 0;
};

// Most values the window asks for along one axis, and pairs of a plane.
inline constexpr std::int32_t kMaxWindowSweepValues = 10'000;
inline constexpr std::int64_t kMaxWindowPlanePairs = 250'000;

// Which field of the dialog a refusal names: 0 to 3 the parameter, first
// value, last value and count of axis 1, 4 to 7 those of axis 2, 8 the
// chart's mode.
struct RangeRefusal {
    int field;
    QString message;
};

// The checks of confirmed ranges: counts within their limits, one value
// only when the first equals the last, two different parameters for a
// plane, and every value acceptable to the model with the base parameters
// (and to the analysis, for the attractors' shares).
std::optional<RangeRefusal> CheckSweepRanges(const SweepRanges& r, bool plane, const ModelParams& base);

// The values of one axis.
std::vector<double> AxisValues(const SweepRanges& r, int axis);
SweepParam AxisParam(const SweepRanges& r, int axis);

// The dialog of a sweep (one axis) or a plane (two), working on its members.
class CSweepDlg : public ExchangeDialog, public SweepRanges {
public:
    CSweepDlg(QWidget* parent, bool plane, const ModelParams& base);

    QComboBox* Param(int axis) const { return m_param[axis - 1]; }
    QLineEdit* From(int axis) const { return m_from[axis - 1]; }
    QLineEdit* To(int axis) const { return m_to[axis - 1]; }
    QLineEdit* Count(int axis) const { return m_count[axis - 1]; }
    QComboBox* Chart() const { return m_chartMode; }
    QPushButton* OkButton() const { return m_ok; }
    bool Plane() const { return m_plane; }

    std::optional<FieldFailure> SaveControls() override;

protected:
    void LoadFields() override;
    std::optional<FieldFailure> CheckSaved() override;

private:
    QWidget* Field(int index) const;

    bool m_plane;
    ModelParams m_base;
    QPushButton* m_ok = nullptr;
    QComboBox* m_param[2] = {};
    QLineEdit* m_from[2] = {};
    QLineEdit* m_to[2] = {};
    QLineEdit* m_count[2] = {};
    QComboBox* m_chartMode = nullptr;  // a sweep's only
};

}  // namespace orbitograph
