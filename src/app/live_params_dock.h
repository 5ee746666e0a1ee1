#pragma once

#include <QDockWidget>
#include <functional>
#include <optional>

#include "model/model_params.h"

class QGridLayout;
class QLabel;
class QRadioButton;
class QSlider;
class QSpinBox;

namespace orbitograph {

class ExactSpinBox;

// The dock "Параметры модели": A, Dc and Kc each with a slider (steps of
// 0.001 over the usual range) and a spin box that shows exactly the value
// the model gets, the two directions, N and the step. The start rectangle is
// the one last loaded. Every change is checked as the parameters dialog
// checks its fields: sound parameters go to onChange at once; a refused
// field turns red (property "refused" true) with the reason below, and
// nothing goes out until it is corrected.
class LiveParamsDock : public QDockWidget {
public:
    explicit LiveParamsDock(QWidget* parent = nullptr);

    // Shows p; calls no callback and clears the refusals. A spin box whose
    // value is already p's keeps its text and its state of editing.
    void Load(const ModelParams& p);
    // The text below the fields: a refusal's reason, or another message.
    void ShowStatus(const QString& text);
    QString Status() const;

    // Sound parameters after each change.
    std::function<void(const ModelParams&)> onChange;
    // A change is complete: a slider released, an edit finished, a direction
    // switched (the moment a history entry is worth recording).
    std::function<void()> onCommit;
    // The dock's close button was used.
    std::function<void()> onClosed;

    // The widgets, for A, Dc, Kc (sliders and spin boxes), Step (spin box),
    // DcOutward and KcOutward (radio button of value v).
    QSlider* Slider(ParamField f) const;
    ExactSpinBox* Spin(ParamField f) const;
    QSpinBox* IterationsBox() const { return m_iterations; }
    QRadioButton* Direction(ParamField f, int v) const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct RealRow {
        QSlider* slider = nullptr;  // null for the step
        ExactSpinBox* spin = nullptr;
    };
    // The widgets' parameters, or the refused field (null for a direction)
    // and the reason.
    struct Reading {
        std::optional<ModelParams> params;
        QWidget* refused = nullptr;
        QString refusal;
    };
    Reading Read() const;
    RealRow& Row(ParamField f);
    const RealRow* RowOf(ParamField f) const;
    void AddRealRow(QGridLayout* grid, int row, ParamField f, const QString& label, int lowest, int highest);
    void Changed();
    void MarkRefused(QWidget* field);

    ModelParams m_loaded;
    RealRow m_a, m_dc, m_kc, m_step;
    QRadioButton* m_dir[2][2] = {};  // [Dc, Kc][inward, outward]
    QSpinBox* m_iterations = nullptr;
    QLabel* m_status = nullptr;
    bool m_loading = false;
};

}  // namespace orbitograph
