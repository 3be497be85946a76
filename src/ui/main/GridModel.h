#pragma once

#include "ui/main/GridColumns.h"

#include <QAbstractTableModel>

#include <utility>

namespace orv::ui {

// What the two grids' models share: sixteen columns with their headers, and refills that keep
// the columns' widths and hidden keys (a model reset would make the view forget them).
class GridModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : kGridColumns;
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
            section >= kGridColumns) {
            return {};
        }
        return QString::fromUtf8(spalten()[static_cast<std::size_t>(section)].header);
    }

protected:
    virtual const GridColumns& spalten() const = 0;

    // A changed row, cell by cell: a view repaints a single changed cell alone but the whole
    // grid for a changed range, which made every start of a stopwatch repaint every row shown.
    void zeileGeaendert(int row) {
        if (row < 0 || row >= rowCount()) {
            return;
        }
        for (int column = 0; column < kGridColumns; ++column) {
            if (spalten()[static_cast<std::size_t>(column)].twips > 0) {
                const QModelIndex cell = index(row, column);
                emit dataChanged(cell, cell);
            }
        }
    }

    template <typename Rows>
    void zeilenErsetzen(Rows& rows, Rows neu) {
        if (!rows.empty()) {
            beginRemoveRows({}, 0, static_cast<int>(rows.size()) - 1);
            rows.clear();
            endRemoveRows();
        }
        if (!neu.empty()) {
            beginInsertRows({}, 0, static_cast<int>(neu.size()) - 1);
            rows = std::move(neu);
            endInsertRows();
        }
    }
};

}  // namespace orv::ui
