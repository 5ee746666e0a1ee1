#pragma once

#include <QAbstractTableModel>
#include <QDockWidget>
#include <QString>

#include "model/probe.h"

class QLabel;
class QTableView;

namespace orbitograph {

// The listed rows of a probed orbit as a table: k, x, y, P, Q, Cx, Cy and
// whether the guard froze the point, with one row standing for the gap of a
// long orbit. Read-only.
class ProbeTableModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void SetOrbit(const ProbeResult* orbit);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    const ProbeResult* m_orbit = nullptr;  // owned by the window; null when none
};

// The summary beside the table: the start point and the number of steps,
// the step at which the orbit left the square, the exact cycle, the end
// point with its kind, and how the end was reached.
QString ProbeSummaryText(const ProbeResult& orbit, double x0, double y0);

// The dock window "Траектория": the summary over the table. Hidden until an
// orbit is shown; floating at first, so that showing it leaves the picture
// as it is.
class ProbeDock : public QDockWidget {
public:
    explicit ProbeDock(QWidget* parent);

    // orbit stays alive and unchanged until Clear or the next ShowOrbit.
    void ShowOrbit(const ProbeResult& orbit, double x0, double y0);
    void Clear();

    QString Summary() const;
    QTableView* Table() const { return m_table; }

private:
    QLabel* m_summary = nullptr;
    QTableView* m_table = nullptr;
    ProbeTableModel m_rows;
    bool m_placed = false;
};

}  // namespace orbitograph
