#include "app/sweep_dlg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <cmath>

#include "dialogs/dialog_controls.h"
#include "model/grid_analysis.h"

namespace orbitograph {

namespace {

const char* const kParamTexts[] = {"A", "Dc", "Kc", "N"};

std::optional<RangeRefusal> CheckAxis(const SweepRanges& r, int axis, const ModelParams& base) {
    const int first = (axis - 1) * 4;
    const SweepAxis& a = r.m_axes[axis - 1];
    const std::int32_t count = a.m_count;
    const double from = a.m_from, to = a.m_to;
    if (count < 1 || count > kMaxWindowSweepValues) {
        return RangeRefusal{
            first + 3,
            QStringLiteral("Число значений должно быть целым числом от 1 до %1.").arg(ShowInt(kMaxWindowSweepValues))};
    }
    if (count == 1 && from != to)
        return RangeRefusal{first + 2, QStringLiteral("Для одного значения первое и последнее должны совпадать.")};
    const SweepParam param = AxisParam(r, axis);
    const auto refused = [&](double v) {
        const bool inRange =
            std::isfinite(v) && (param != SweepParam::Iterations || (v >= INT32_MIN && v <= INT32_MAX));
        return !inRange || CheckParameters(WithValue(base, param, v)).has_value();
    };
    // A value between two sound ends is refused only when the difference
    // overflows; the last value's field is named then.
    const bool fromRefused = refused(SweepValues(from, from, 1, param).front());
    for (const double v : AxisValues(r, axis)) {
        if (refused(v)) {
            return RangeRefusal{
                fromRefused ? first + 1 : first + 2,
                QStringLiteral("Значение %1 параметра %2 недопустимо: нужны конечные числа%3.")
                    .arg(ShowReal(v), kParamTexts[static_cast<int>(param)],
                         param == SweepParam::Iterations
                             ? QStringLiteral(", целые от %1 до %2").arg(ShowInt(INT32_MIN), ShowInt(INT32_MAX))
                             : QString())};
        }
    }
    return std::nullopt;
}

}  // namespace

SweepParam AxisParam(const SweepRanges& r, int axis) {
    return static_cast<SweepParam>(std::clamp(r.m_axes[axis - 1].m_param, 0, 3));
}

std::vector<double> AxisValues(const SweepRanges& r, int axis) {
    const SweepAxis& a = r.m_axes[axis - 1];
    return SweepValues(a.m_from, a.m_to, a.m_count, AxisParam(r, axis));
}

std::optional<RangeRefusal> CheckSweepRanges(const SweepRanges& r, bool plane, const ModelParams& base) {
    if (auto refusal = CheckAxis(r, 1, base)) return refusal;
    if (!plane && r.m_chart == 1) {
        for (const double v : AxisValues(r, 1)) {
            if (const auto refused = CheckAnalysis(WithValue(base, AxisParam(r, 1), v), kDefaultAttractorDelta)) {
                return RangeRefusal{8, *refused == AnalysisRefusal::TooManyPoints
                                           ? QStringLiteral("Аттракторы находятся на сетках не больше %1 точек.")
                                                 .arg(ShowInt(kMaxAnalysisStartPoints))
                                           : QStringLiteral("Аттракторы находятся не больше чем за %1 итераций.")
                                                 .arg(ShowInt(INT32_MAX - 1))};
            }
        }
    }
    if (!plane) return std::nullopt;
    if (AxisParam(r, 1) == AxisParam(r, 2)) return RangeRefusal{4, QStringLiteral("Выберите два разных параметра.")};
    if (std::int64_t{r.m_axes[0].m_count} * r.m_axes[1].m_count > kMaxWindowPlanePairs) {
        return RangeRefusal{7, QStringLiteral("Плоскость не может содержать больше %1 пар значений.")
                                   .arg(QString::number(kMaxWindowPlanePairs))};
    }
    return CheckAxis(r, 2, base);
}

CSweepDlg::CSweepDlg(QWidget* parent, bool plane, const ModelParams& base)
    : ExchangeDialog(parent, plane ? QStringLiteral("Плоскость параметров") : QStringLiteral("Развёртка по параметру")),
      m_plane(plane),
      m_base(base) {
    auto* grid = new QGridLayout(this);
    const QString heads[] = {QStringLiteral("Параметр"), QStringLiteral("Первое значение"),
                             QStringLiteral("Последнее значение"), QStringLiteral("Число значений")};
    for (int c = 0; c < 4; ++c) grid->addWidget(new QLabel(heads[c], this), 0, c + 1);
    for (int axis = 1; axis <= (plane ? 2 : 1); ++axis) {
        const int i = axis - 1;
        grid->addWidget(new QLabel(plane ? QStringLiteral("Ось %1:").arg(axis) : QString(), this), axis, 0);
        m_param[i] = new QComboBox(this);
        for (const char* text : kParamTexts) m_param[i]->addItem(QString::fromLatin1(text));
        m_from[i] = new QLineEdit(this);
        m_to[i] = new QLineEdit(this);
        m_count[i] = new QLineEdit(this);
        QWidget* row[] = {m_param[i], m_from[i], m_to[i], m_count[i]};
        for (int c = 0; c < 4; ++c) grid->addWidget(row[c], axis, c + 1);
    }
    if (!plane) {
        grid->addWidget(new QLabel(QStringLiteral("График:"), this), 2, 0);
        m_chartMode = new QComboBox(this);
        m_chartMode->setObjectName(QStringLiteral("chart"));
        m_chartMode->addItems({QStringLiteral("Доли областей"), QStringLiteral("Доли аттракторов")});
        grid->addWidget(m_chartMode, 2, 1, 1, 2);
    }
    const auto [ok, cancel] = MakeOkCancel(this);
    m_ok = ok;
    grid->addWidget(m_ok, 3, 3);
    grid->addWidget(cancel, 3, 4);
    grid->setSizeConstraint(QLayout::SetFixedSize);
}

void CSweepDlg::LoadFields() {
    for (int axis = 1; axis <= (m_plane ? 2 : 1); ++axis) {
        const int i = axis - 1;
        m_param[i]->setCurrentIndex(static_cast<int>(AxisParam(*this, axis)));
        ShowInField(m_from[i], ShowReal(m_axes[i].m_from));
        ShowInField(m_to[i], ShowReal(m_axes[i].m_to));
        ShowInField(m_count[i], ShowInt(m_axes[i].m_count));
    }
    if (m_chartMode != nullptr) m_chartMode->setCurrentIndex(std::clamp(m_chart, 0, 1));
}

std::optional<FieldFailure> CSweepDlg::SaveControls() {
    for (int axis = 1; axis <= (m_plane ? 2 : 1); ++axis) {
        const int i = axis - 1;
        m_axes[i].m_param = m_param[i]->currentIndex();
        const std::optional<double> from = ReadReal(m_from[i]->text());
        if (!from) return FieldFailure{m_from[i], QStringLiteral("Введите число в поле «Первое значение».")};
        m_axes[i].m_from = *from;
        const std::optional<double> to = ReadReal(m_to[i]->text());
        if (!to) return FieldFailure{m_to[i], QStringLiteral("Введите число в поле «Последнее значение».")};
        m_axes[i].m_to = *to;
        const IntResult count = ReadInt(m_count[i]->text());
        if (count.status != IntParse::Ok)
            return FieldFailure{m_count[i], QStringLiteral("Введите целое число в поле «Число значений».")};
        m_axes[i].m_count = count.value;
    }
    if (m_chartMode != nullptr) m_chart = m_chartMode->currentIndex();
    return std::nullopt;
}

QWidget* CSweepDlg::Field(int index) const {
    if (index == 8) return m_chartMode;
    const int i = index / 4;
    QWidget* row[] = {m_param[i], m_from[i], m_to[i], m_count[i]};
    return row[index % 4];
}

std::optional<FieldFailure> CSweepDlg::CheckSaved() {
    if (const auto refusal = CheckSweepRanges(*this, m_plane, m_base))
        return FieldFailure{Field(refusal->field), refusal->message};
    return std::nullopt;
}

}  // namespace orbitograph
