#pragma once

#include <QAbstractSpinBox>
#include <functional>
#include <optional>

namespace orbitograph {

// A spin box for a real number that holds exactly the double it shows: the
// text is the shortest one that reads back as that double, and what the user
// types is read as the parameters dialog reads its fields. No range: any text
// is kept as typed, and a text that is no number has no value. The arrows
// move the value to the neighbouring multiple of the unit (value k / scale,
// scale = 1 / unit, so that 0.437 is the double nearest to 0.437).
class ExactSpinBox : public QAbstractSpinBox {
public:
    explicit ExactSpinBox(double scale, QWidget* parent = nullptr);

    // Shows v; calls no callback.
    void SetValue(double v);
    std::optional<double> Value() const;

    // Called after an arrow step, and when editing ends (Enter or the focus
    // leaving) with a text that changed since it was last shown or reported.
    std::function<void()> onChanged;
    // Called when editing ends after any change reported by onChanged.
    std::function<void()> onCommitted;

    void stepBy(int steps) override;

protected:
    StepEnabled stepEnabled() const override;

private:
    void EditingFinished();

    double m_scale;
    QString m_reported;          // the text last shown or reported
    bool m_uncommitted = false;  // a change reported since the last commit
};

// The shortest text that reads back as exactly v ("0.8", "1e-05", "inf").
QString ShortestText(double v);

}  // namespace orbitograph
