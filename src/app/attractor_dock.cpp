#include "app/attractor_dock.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

#include "model/number_text.h"

namespace orbitograph {

namespace {

constexpr int kColumns = 6;

QString Exact(double v) { return std::isnan(v) ? QStringLiteral("—") : QString::fromStdString(FormatShortest(v)); }

// A share of the grid's start points in per cent, four digits.
QString Share(std::int64_t part, std::size_t whole) {
    if (whole == 0) return {};
    return QString::number(100.0 * static_cast<double>(part) / static_cast<double>(whole), 'g', 4) +
           QStringLiteral(" %");
}

}  // namespace

void AttractorTableModel::SetCatalogue(std::vector<AttractorEntry> catalogue, std::size_t points) {
    beginResetModel();
    m_catalogue = std::move(catalogue);
    m_points = points;
    endResetModel();
}

QVariant AttractorTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    static const char* const names[kColumns] = {"№", "Период", "x", "y", "Бассейн", "Доля"};
    const bool named = orientation == Qt::Horizontal && role == Qt::DisplayRole;
    return named && section >= 0 && section < kColumns ? QVariant(QString::fromUtf8(names[section])) : QVariant();
}

QVariant AttractorTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    if (role == Qt::TextAlignmentRole) return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole) return {};
    const AttractorEntry& a = m_catalogue[static_cast<std::size_t>(index.row())];
    switch (index.column()) {
        case 0: return QString::number(a.id);
        case 1: return QString::number(a.period);
        case 2: return Exact(a.x);
        case 3: return Exact(a.y);
        case 4: return QString::number(a.basin);
        default: return Share(a.basin, m_points);
    }
}

int AttractorTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

int AttractorTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_catalogue.size());
}

QString AttractorCountsText(const GridAnalysis& a) {
    return QStringLiteral("Аттракторов: %1. Ушли из квадрата без аттрактора: %2 (%3); не установились: %4 (%5)")
        .arg(a.attractors.size())
        .arg(a.escaped)
        .arg(Share(a.escaped, a.size()))
        .arg(a.unsettled)
        .arg(Share(a.unsettled, a.size()));
}

MetricsRows MetricsTableRows(const LabelMetrics& kinds, const LabelMetrics& attractors) {
    MetricsRows rows;
    const auto add = [&rows](const QString& name, const QString& k, const QString& a) {
        rows.names << name;
        rows.values.push_back({k, a});
    };
    add(QStringLiteral("Sb"), Exact(kinds.sb), Exact(attractors.sb));
    add(QStringLiteral("Sbb"), Exact(kinds.sbb), Exact(attractors.sbb));
    add(QStringLiteral("Граничных ящиков"), QString::number(kinds.boundaryBoxes),
        QString::number(attractors.boundaryBoxes));
    add(QStringLiteral("Ящиков"), QString::number(kinds.boxes), QString::number(attractors.boxes));
    // Both grids have the same shape, so the same distances fit.
    for (std::size_t i = 0; i < kinds.f.size() && i < attractors.f.size(); ++i)
        add(QStringLiteral("f(%1)").arg(kinds.f[i].k), Exact(kinds.f[i].f), Exact(attractors.f[i].f));
    add(QStringLiteral("alpha"), Exact(kinds.alpha), Exact(attractors.alpha));
    return rows;
}

AttractorDock::AttractorDock(QWidget* parent) : QDockWidget(QStringLiteral("Аттракторы"), parent) {
    setObjectName(QStringLiteral("attractorDock"));
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    m_table = new QTableView(body);
    m_table->setObjectName(QStringLiteral("attractorTable"));
    m_table->setModel(&m_rows);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 4);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_counts = new QLabel(body);
    m_counts->setWordWrap(true);
    m_counts->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_metrics = new QTableWidget(0, 2, body);
    m_metrics->setObjectName(QStringLiteral("attractorMetrics"));
    m_metrics->setHorizontalHeaderLabels({QStringLiteral("По областям"), QStringLiteral("По аттракторам")});
    m_metrics->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_metrics->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 4);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_counts);
    layout->addWidget(m_metrics);
    setWidget(body);
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this, &AttractorDock::SelectionChanged);
    connect(m_table, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (activated && index.isValid()) activated(index.row() + 1);
    });
}

void AttractorDock::Show(const GridAnalysis& analysis, const std::optional<LabelMetrics>& kinds,
                         const std::optional<LabelMetrics>& attractors) {
    m_rows.SetCatalogue(analysis.attractors, analysis.size());
    m_table->resizeColumnsToContents();
    m_counts->setText(AttractorCountsText(analysis));
    m_metrics->setRowCount(0);
    if (kinds && attractors) {
        const MetricsRows rows = MetricsTableRows(*kinds, *attractors);
        m_metrics->setRowCount(static_cast<int>(rows.names.size()));
        m_metrics->setVerticalHeaderLabels(rows.names);
        for (int r = 0; r < rows.names.size(); ++r) {
            for (int c = 0; c < 2; ++c)
                m_metrics->setItem(r, c, new QTableWidgetItem(rows.values[static_cast<std::size_t>(r)][c]));
        }
        m_metrics->resizeColumnsToContents();
    }
    // Every row of the metrics in sight; the catalogue takes the rest.
    int height = m_metrics->horizontalHeader()->height() + 2 * m_metrics->frameWidth();
    for (int r = 0; r < m_metrics->rowCount(); ++r) height += m_metrics->rowHeight(r);
    m_metrics->setFixedHeight(height);
}

void AttractorDock::Clear(const QString& text) {
    m_rows.SetCatalogue({}, 0);
    m_metrics->setRowCount(0);
    m_counts->setText(text);
}

void AttractorDock::Open() {
    if (!m_placed) {
        m_placed = true;
        setFloating(true);
        if (QWidget* owner = parentWidget()) {
            const QRect frame = owner->geometry();
            // The lower left corner, away from the probe's dock.
            setGeometry(frame.left() + 20, frame.bottom() - 580, 560, 560);
        }
    }
    show();
}

QString AttractorDock::CountsText() const { return m_counts->text(); }

void AttractorDock::closeEvent(QCloseEvent* event) {
    QDockWidget::closeEvent(event);
    if (closed) closed();
}

void AttractorDock::SelectionChanged() {
    const QModelIndexList rows = m_table->selectionModel()->selectedRows();
    if (!selected) return;
    if (rows.isEmpty())
        selected(std::nullopt);
    else
        selected(rows.front().row() + 1);
}

}  // namespace orbitograph
