#pragma once

#include "ui/main/GridModel.h"

#include <QFont>
#include <QHash>

#include <memory>
#include <vector>

namespace orv {
class CAuftrag;
class CStoppUhren;
}  // namespace orv

namespace orv::ui {

// The orders view: the idle order in row 0, then every order not yet finished, in the session's
// order. Cells are read from the orders when painted, so the running time is always current;
// the one bold row is the stopwatch that counts.
class OrdersModel final : public GridModel {
    Q_OBJECT
public:
    static constexpr int kZeit = 13;
    static const GridColumns& columns();

    explicit OrdersModel(QObject* parent = nullptr);

    void setSession(CStoppUhren* session);
    // Refills from the session's orders.
    void AuftrageAnzeigen();
    // A new order at the bottom; its row.
    int append(const std::shared_ptr<CAuftrag>& order);
    void remove(const QString& key);
    // -1 when the order has no row.
    int row(const QString& key) const;
    // The idle key for row 0 and for no row at all.
    QString key(int row) const;
    // nullptr for the idle row and for no row.
    std::shared_ptr<CAuftrag> order(int row) const;
    // The row of the stopwatch that counts.
    int zaehlendeZeile() const { return zaehlend_; }
    // Repaints a row whose order changed.
    void zeileAktualisieren(int row);
    // The counting stopwatch may have changed and its time moved: repaints the time cell of the
    // counting row and the rows whose boldness changed, nothing else.
    void zeitAktualisiert();

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

protected:
    const GridColumns& spalten() const override { return columns(); }

private:
    int zaehlendeZeileLesen() const;
    void reindex(std::size_t from);
    QString text(const CAuftrag& order, int column) const;

    CStoppUhren* session_ = nullptr;
    std::vector<std::shared_ptr<CAuftrag>> rows_;
    QHash<QString, int> index_;
    int zaehlend_ = -1;
    QFont fett_;
};

}  // namespace orv::ui
