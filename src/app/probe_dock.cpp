#include "app/probe_dock.h"

#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "model/classify.h"
#include "model/number_text.h"

namespace orbitograph {

namespace {

constexpr int kColumns = 8;

QString Number(double v) {
    if (std::isnan(v)) return QStringLiteral("nan");
    if (std::isinf(v)) return v > 0 ? QStringLiteral("inf") : QStringLiteral("-inf");
    return QString::fromStdString(FormatShortest(v));
}

QString Signed(double v) { return std::signbit(v) || std::isnan(v) ? Number(v) : QStringLiteral("+") + Number(v); }

QString KindWords(EndKind kind) {
    switch (kind) {
        case EndKind::Infinity: return QStringLiteral("вне квадрата, бесконечность (розовый цвет)");
        case EndKind::Zero: return QStringLiteral("нулевой квадрат (серый цвет)");
        case EndKind::T: return QStringLiteral("область \u0422 (зеленый цвет)");
        case EndKind::O: return QStringLiteral("область \u041E (красный цвет)");
        case EndKind::M: return QStringLiteral("область \u041C (голубой цвет)");
        case EndKind::H: return QStringLiteral("область \u041D (оранжевый цвет)");
        case EndKind::None: break;
    }
    return QStringLiteral("угол областей, ни одна из них (цвета нет)");
}

}  // namespace

void ProbeTableModel::SetOrbit(const ProbeResult* orbit) {
    beginResetModel();
    m_orbit = orbit;
    endResetModel();
}

int ProbeTableModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || m_orbit == nullptr) return 0;
    return static_cast<int>(m_orbit->rows.size()) + (m_orbit->omitted > 0 ? 1 : 0);
}

int ProbeTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

QVariant ProbeTableModel::data(const QModelIndex& index, int role) const {
    if (m_orbit == nullptr || !index.isValid() || role != Qt::DisplayRole) return {};
    auto i = static_cast<std::size_t>(index.row());
    if (m_orbit->omitted > 0 && i >= m_orbit->gapAt) {
        if (i == m_orbit->gapAt) {
            if (index.column() == 0) return QStringLiteral("…");
            if (index.column() == 1) return QStringLiteral("пропущено шагов: %1").arg(m_orbit->omitted);
            return {};
        }
        --i;
    }
    const ProbeRow& r = m_orbit->rows[i];
    const bool terms = r.HasTerms();
    switch (index.column()) {
        case 0: return QString::number(r.step);
        case 1: return Number(r.x);
        case 2: return Number(r.y);
        case 3: return terms ? Number(r.p) : QString();
        case 4: return terms ? Number(r.q) : QString();
        case 5: return terms ? Signed(r.cx) : QString();
        case 6: return terms ? Signed(r.cy) : QString();
        default: return r.frozen ? QStringLiteral("да") : QString();
    }
}

QVariant ProbeTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= kColumns) return {};
    static const char* const names[kColumns] = {"k", "x", "y", "P", "Q", "Cx", "Cy", "Заморожена"};
    return QString::fromUtf8(names[section]);
}

QString ProbeSummaryText(const ProbeResult& orbit, double x0, double y0) {
    const ProbeSummary& s = orbit.summary;
    QStringList lines;
    lines
        << QStringLiteral("Начальная точка: (%1, %2); шагов отображения: %3").arg(Number(x0), Number(y0)).arg(s.steps);
    lines << (s.leftSquare ? QStringLiteral("Вышла из квадрата [-2, 2] x [-2, 2] на шаге %1").arg(*s.leftSquare)
                           : QStringLiteral("Из квадрата [-2, 2] x [-2, 2] не выходила"));
    if (s.cycleStart) {
        lines << QStringLiteral("Точный цикл периода %1, начиная с шага %2%3")
                     .arg(s.period)
                     .arg(*s.cycleStart)
                     .arg(!orbit.rows.empty() && orbit.rows.back().frozen ? QStringLiteral(" (точка заморожена)")
                                                                          : QString());
    } else {
        lines << QStringLiteral("Точный цикл не найден");
    }
    if (s.reach == ProbeReach::Escape) {
        lines << QStringLiteral("Конец: не вычислялся; %1").arg(KindWords(s.kind));
        lines << QStringLiteral("Конец получен по уходу орбиты за границу, из-за которой она не возвращается");
    } else {
        lines << QStringLiteral("Конец: (%1, %2); %3").arg(Number(s.end.x), Number(s.end.y), KindWords(s.kind));
        lines << (s.reach == ProbeReach::Cycle
                      ? QStringLiteral("Конец получен по точному циклу: целые периоды пропущены")
                      : QStringLiteral("Конец получен проходом всех шагов"));
    }
    if (orbit.omitted > 0) {
        lines << QStringLiteral("В списке первые %1 и последние %2 шагов")
                     .arg(orbit.gapAt)
                     .arg(orbit.rows.size() - orbit.gapAt);
    }
    return lines.join(QLatin1Char('\n'));
}

ProbeDock::ProbeDock(QWidget* parent) : QDockWidget(QStringLiteral("Траектория"), parent) {
    setObjectName(QStringLiteral("probeDock"));
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    m_summary = new QLabel(body);
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_summary->setWordWrap(true);
    m_table = new QTableView(body);
    m_table->setModel(&m_rows);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 4);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    layout->addWidget(m_summary);
    layout->addWidget(m_table, 1);
    setWidget(body);
}

void ProbeDock::ShowOrbit(const ProbeResult& orbit, double x0, double y0) {
    m_summary->setText(ProbeSummaryText(orbit, x0, y0));
    m_rows.SetOrbit(&orbit);
    m_table->resizeColumnsToContents();
    // Sized from the rows in view only: the step column is made wide enough
    // for the last, largest step as well.
    const QString lastStep = QString::number(orbit.rows.empty() ? 0 : orbit.rows.back().step);
    const int margin = 2 * m_table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_table) + 12;
    m_table->setColumnWidth(
        0, std::max(m_table->columnWidth(0), m_table->fontMetrics().horizontalAdvance(lastStep) + margin));
    if (!m_placed) {
        m_placed = true;
        setFloating(true);
        if (QWidget* owner = parentWidget()) {
            const QRect frame = owner->geometry();
            // The lower right corner, where the panels, centred, reach least.
            setGeometry(frame.right() - 640, frame.bottom() - 360, 620, 340);
        }
    }
    show();
}

void ProbeDock::Clear() {
    m_rows.SetOrbit(nullptr);
    m_summary->clear();
    hide();
}

QString ProbeDock::Summary() const { return m_summary->text(); }

}  // namespace orbitograph
