#pragma once

#include <QAbstractTableModel>
#include <QDockWidget>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "model/grid_analysis.h"
#include "model/label_metrics.h"

class QLabel;
class QTableView;
class QTableWidget;

namespace orbitograph {

// The attractor catalogue of an analysis as a table: the number, the
// period, the smallest state (x, y) in its shortest exact form, the basin
// in start points and as a share of the grid. Read-only; it keeps its own
// copy of the catalogue.
class AttractorTableModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    // The catalogue of a grid of points start points; an empty one: none.
    void SetCatalogue(std::vector<AttractorEntry> catalogue, std::size_t points);
    const std::vector<AttractorEntry>& Catalogue() const { return m_catalogue; }

    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    int rowCount(const QModelIndex& parent = {}) const override;

private:
    std::vector<AttractorEntry> m_catalogue;
    std::size_t m_points = 0;
};

// The line under the table: the start points that left the square without
// an attractor and those that did neither, with their shares.
QString AttractorCountsText(const GridAnalysis& analysis);

// The metrics of the grid by kind and by attractor as rows of a table: the
// row names, then for each row its two values (empty where a distance did
// not fit the grid; "—" for a value that is not a number).
struct MetricsRows {
    QStringList names;
    std::vector<std::array<QString, 2>> values;
};
MetricsRows MetricsTableRows(const LabelMetrics& kinds, const LabelMetrics& attractors);

// The dock window "Аттракторы": the catalogue, the counts and the grid's
// metrics. Floating at first, placed at the window's lower left corner.
// Tells selected the attractor of the selected row (none when the selection
// is cleared), activated that of a double-clicked row, closed that the user
// closed it.
class AttractorDock : public QDockWidget {
public:
    explicit AttractorDock(QWidget* parent);

    // The metrics are shown when both are given. The selection is cleared.
    void Show(const GridAnalysis& analysis, const std::optional<LabelMetrics>& kinds,
              const std::optional<LabelMetrics>& attractors);
    // Empties the table, with text in place of the counts.
    void Clear(const QString& text);
    // Opens the dock where it was last, floating at the first time.
    void Open();

    QTableView* Table() const { return m_table; }
    QTableWidget* Metrics() const { return m_metrics; }
    QString CountsText() const;

    std::function<void(std::optional<std::int32_t> id)> selected;
    std::function<void(std::int32_t id)> activated;
    std::function<void()> closed;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void SelectionChanged();

    QTableView* m_table = nullptr;
    QLabel* m_counts = nullptr;
    QTableWidget* m_metrics = nullptr;
    AttractorTableModel m_rows;
    bool m_placed = false;
};

}  // namespace orbitograph
