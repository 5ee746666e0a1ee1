#include "app/live_params_dock.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "app/exact_spin_box.h"
#include "app/model_params_dlg.h"

namespace orbitograph {

namespace {

// Slider positions are thousandths: position k is the value k / 1000.
constexpr double kSliderScale = 1000.0;
const QColor kRefusedBase(255, 200, 200);

int SliderPosition(const QSlider* s, double v) {
    if (std::isnan(v)) return s->minimum();
    const double k = std::round(v * kSliderScale);
    return static_cast<int>(std::clamp(k, static_cast<double>(s->minimum()), static_cast<double>(s->maximum())));
}

}  // namespace

LiveParamsDock::LiveParamsDock(QWidget* parent) : QDockWidget(QStringLiteral("Параметры модели"), parent) {
    setObjectName(QStringLiteral("liveParams"));
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    auto* body = new QWidget(this);
    auto* grid = new QGridLayout(body);
    AddRealRow(grid, 0, ParamField::A, QStringLiteral("A="), -2000, 2000);
    AddRealRow(grid, 1, ParamField::Dc, QStringLiteral("Dc="), 0, 2000);
    AddRealRow(grid, 2, ParamField::Kc, QStringLiteral("Kc="), 0, 2000);

    const QString names[2] = {QStringLiteral("Направление Dc:"), QStringLiteral("Направление Kc:")};
    for (int i = 0; i < 2; ++i) {
        grid->addWidget(new QLabel(names[i], body), 3 + i, 0);
        auto* group = new QButtonGroup(body);
        auto* row = new QHBoxLayout;
        for (int v = 0; v < 2; ++v) {
            m_dir[i][v] = new QRadioButton(v == 0 ? QStringLiteral("Внутрь") : QStringLiteral("Во вне"), body);
            group->addButton(m_dir[i][v], v);
            row->addWidget(m_dir[i][v]);
            connect(m_dir[i][v], &QRadioButton::toggled, this, [this](bool on) {
                if (!on || m_loading) return;
                Changed();
                if (onCommit) onCommit();
            });
        }
        grid->addLayout(row, 3 + i, 1, 1, 2);
    }

    grid->addWidget(new QLabel(QStringLiteral("Число итераций:"), body), 5, 0);
    m_iterations = new QSpinBox(body);
    m_iterations->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    m_iterations->setKeyboardTracking(false);
    grid->addWidget(m_iterations, 5, 2);
    connect(m_iterations, &QSpinBox::valueChanged, this, [this] {
        if (!m_loading) Changed();
    });
    connect(m_iterations, &QSpinBox::editingFinished, this, [this] {
        if (onCommit) onCommit();
    });

    grid->addWidget(new QLabel(QStringLiteral("Шаг:"), body), 6, 0);
    m_step.spin = new ExactSpinBox(kSliderScale, body);
    grid->addWidget(m_step.spin, 6, 2);
    m_step.spin->onChanged = [this] { Changed(); };
    m_step.spin->onCommitted = [this] {
        if (onCommit) onCommit();
    };

    m_status = new QLabel(body);
    m_status->setWordWrap(true);
    grid->addWidget(m_status, 7, 0, 1, 3);
    grid->setRowStretch(8, 1);
    grid->setColumnStretch(1, 1);
    setWidget(body);
    Load(ModelParams{});
}

void LiveParamsDock::AddRealRow(QGridLayout* grid, int row, ParamField f, const QString& label, int lowest,
                                int highest) {
    QWidget* body = grid->parentWidget();
    RealRow& r = Row(f);
    grid->addWidget(new QLabel(label, body), row, 0);
    r.slider = new QSlider(Qt::Horizontal, body);
    r.slider->setRange(lowest, highest);
    r.slider->setPageStep(50);
    r.slider->setMinimumWidth(160);
    grid->addWidget(r.slider, row, 1);
    r.spin = new ExactSpinBox(kSliderScale, body);
    grid->addWidget(r.spin, row, 2);

    connect(r.slider, &QSlider::valueChanged, this, [this, &r](int position) {
        if (m_loading) return;
        r.spin->SetValue(position / kSliderScale);
        Changed();
        // A drag is complete when released; a key or a page click at once.
        if (!r.slider->isSliderDown() && onCommit) onCommit();
    });
    connect(r.slider, &QSlider::sliderReleased, this, [this] {
        if (onCommit) onCommit();
    });
    r.spin->onChanged = [this, &r] {
        if (const std::optional<double> v = r.spin->Value()) {
            m_loading = true;
            r.slider->setValue(SliderPosition(r.slider, *v));
            m_loading = false;
        }
        Changed();
    };
    r.spin->onCommitted = [this] {
        if (onCommit) onCommit();
    };
}

LiveParamsDock::RealRow& LiveParamsDock::Row(ParamField f) {
    switch (f) {
        case ParamField::A: return m_a;
        case ParamField::Dc: return m_dc;
        case ParamField::Kc: return m_kc;
        default: return m_step;
    }
}

const LiveParamsDock::RealRow* LiveParamsDock::RowOf(ParamField f) const {
    switch (f) {
        case ParamField::A: return &m_a;
        case ParamField::Dc: return &m_dc;
        case ParamField::Kc: return &m_kc;
        case ParamField::Step: return &m_step;
        default: return nullptr;
    }
}

QSlider* LiveParamsDock::Slider(ParamField f) const {
    const RealRow* r = RowOf(f);
    return r ? r->slider : nullptr;
}

ExactSpinBox* LiveParamsDock::Spin(ParamField f) const {
    const RealRow* r = RowOf(f);
    return r ? r->spin : nullptr;
}

QRadioButton* LiveParamsDock::Direction(ParamField f, int v) const {
    return m_dir[f == ParamField::KcOutward ? 1 : 0][v == 0 ? 0 : 1];
}

void LiveParamsDock::Load(const ModelParams& p) {
    m_loading = true;
    m_loaded = p;
    auto real = [](RealRow& r, double v) {
        if (r.spin->Value() != v) r.spin->SetValue(v);
        if (r.slider) r.slider->setValue(SliderPosition(r.slider, v));
    };
    real(m_a, p.a);
    real(m_dc, p.dc);
    real(m_kc, p.kc);
    real(m_step, p.step);
    const std::int32_t dirs[2] = {p.dcOutward, p.kcOutward};
    for (int i = 0; i < 2; ++i) {
        // Unchecked both for a value that is neither direction.
        auto* group = m_dir[i][0]->group();
        group->setExclusive(false);
        m_dir[i][0]->setChecked(dirs[i] == 0);
        m_dir[i][1]->setChecked(dirs[i] == 1);
        group->setExclusive(true);
    }
    m_iterations->setValue(p.iterations);
    m_loading = false;
    MarkRefused(nullptr);
    ShowStatus(QString());
}

LiveParamsDock::Reading LiveParamsDock::Read() const {
    const std::pair<ExactSpinBox*, const char*> reals[] = {
        {m_a.spin, "A"}, {m_dc.spin, "Dc"}, {m_kc.spin, "Kc"}, {m_step.spin, "Шаг"}};
    for (const auto& [spin, name] : reals) {
        if (!spin->Value())
            return {std::nullopt, spin, QStringLiteral("Введите число в поле «%1».").arg(QString::fromUtf8(name))};
    }
    ModelParams p = m_loaded;
    p.a = *m_a.spin->Value();
    p.dc = *m_dc.spin->Value();
    p.kc = *m_kc.spin->Value();
    p.step = *m_step.spin->Value();
    p.dcOutward = m_dir[0][1]->isChecked() ? 1 : m_dir[0][0]->isChecked() ? 0 : -1;
    p.kcOutward = m_dir[1][1]->isChecked() ? 1 : m_dir[1][0]->isChecked() ? 0 : -1;
    p.iterations = m_iterations->value();
    if (const std::optional<ParamError> refusal = CheckParameters(p)) {
        const RealRow* row = RowOf(refusal->field);
        return {std::nullopt, row ? row->spin : nullptr, ParamRefusalText(*refusal)};
    }
    return {p, nullptr, QString()};
}

void LiveParamsDock::ShowStatus(const QString& text) { m_status->setText(text); }

QString LiveParamsDock::Status() const { return m_status->text(); }

void LiveParamsDock::MarkRefused(QWidget* field) {
    for (ExactSpinBox* s : {m_a.spin, m_dc.spin, m_kc.spin, m_step.spin}) {
        const bool refused = s == field;
        s->setProperty("refused", refused);
        QPalette palette;
        if (refused) palette.setColor(QPalette::Base, kRefusedBase);
        s->setPalette(palette);
    }
}

void LiveParamsDock::Changed() {
    const Reading r = Read();
    MarkRefused(r.refused);
    ShowStatus(r.refusal);
    if (r.params && onChange) onChange(*r.params);
}

void LiveParamsDock::closeEvent(QCloseEvent* event) {
    QDockWidget::closeEvent(event);
    if (onClosed) onClosed();
}

}  // namespace orbitograph
