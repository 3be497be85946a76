#include "ui/main/OrdersModel.h"

#include "ORVkStoppUhren/Enums.h"
#include "model/CAuftrag.h"
#include "session/CStoppUhren.h"
#include "ui/main/GridColumns.h"

namespace orv::ui {

const GridColumns& OrdersModel::columns() {
    static const GridColumns kColumns{{{"", 0},
                                       {"", 0},
                                       {"Mandant", 2500},
                                       {"AufArt-Nr", 750},
                                       {"Ang-Nr", 650},
                                       {"Angelegenheit", 4800},
                                       {"Monat", 600},
                                       {"Jahr", 600},
                                       {"Lfd-Nr", 600},
                                       {"Obj-Nr", 0},
                                       {"Beginn", 0},
                                       {"Ende", 0},
                                       {"", 0},
                                       {"Zeit", 1000},
                                       {"", 0},
                                       {"", 0}}};
    return kColumns;
}

OrdersModel::OrdersModel(QObject* parent) : GridModel(parent) {
    fett_.setBold(true);
}

void OrdersModel::setSession(CStoppUhren* session) {
    session_ = session;
    index_.clear();
    zaehlend_ = -1;
    zeilenErsetzen(rows_, {});
}

void OrdersModel::AuftrageAnzeigen() {
    std::vector<std::shared_ptr<CAuftrag>> rows;
    if (session_ != nullptr) {
        rows.push_back(session_->LeerlaufAuftrag().shared_from_this());
        for (const std::shared_ptr<CAuftrag>& order : session_->Auftraege()) {
            if (order->Status() < AuftragStatus_Beendet) {
                rows.push_back(order);
            }
        }
    }
    index_.clear();
    zaehlend_ = -1;
    zeilenErsetzen(rows_, std::move(rows));
    reindex(0);
    zaehlend_ = zaehlendeZeileLesen();
}

int OrdersModel::append(const std::shared_ptr<CAuftrag>& order) {
    const int row = static_cast<int>(rows_.size());
    beginInsertRows({}, row, row);
    rows_.push_back(order);
    index_.insert(order->Key(), row);
    endInsertRows();
    zeitAktualisiert();
    return row;
}

void OrdersModel::remove(const QString& key) {
    const int r = row(key);
    if (r < 1) {
        return;
    }
    beginRemoveRows({}, r, r);
    index_.remove(key);
    rows_.erase(rows_.begin() + r);
    reindex(static_cast<std::size_t>(r));
    endRemoveRows();
    zaehlend_ = zaehlendeZeileLesen();
}

int OrdersModel::row(const QString& key) const {
    return index_.value(key, -1);
}

QString OrdersModel::key(int row) const {
    if (row < 1 || row >= static_cast<int>(rows_.size())) {
        return CAuftrag::LeerlaufKey();
    }
    return rows_[static_cast<std::size_t>(row)]->Key();
}

std::shared_ptr<CAuftrag> OrdersModel::order(int row) const {
    if (row < 1 || row >= static_cast<int>(rows_.size())) {
        return nullptr;
    }
    return rows_[static_cast<std::size_t>(row)];
}

void OrdersModel::zeileAktualisieren(int row) {
    zeileGeaendert(row);
}

void OrdersModel::zeitAktualisiert() {
    const int jetzt = zaehlendeZeileLesen();
    if (jetzt != zaehlend_) {
        const int vorher = std::exchange(zaehlend_, jetzt);
        zeileAktualisieren(vorher);
        zeileAktualisieren(jetzt);
        return;
    }
    if (jetzt >= 0) {
        emit dataChanged(index(jetzt, kZeit), index(jetzt, kZeit), {Qt::DisplayRole});
    }
}

int OrdersModel::zaehlendeZeileLesen() const {
    if (session_ == nullptr || rows_.empty()) {
        return -1;
    }
    if (session_->AuftragLaeuft() && session_->AktuellerAuftrag() != nullptr) {
        return row(session_->AktuellerAuftrag()->Key());
    }
    return 0;
}

void OrdersModel::reindex(std::size_t from) {
    for (std::size_t i = from; i < rows_.size(); ++i) {
        index_.insert(rows_[i]->Key(), static_cast<int>(i));
    }
}

int OrdersModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

QString OrdersModel::text(const CAuftrag& a, int column) const {
    switch (column) {
        case 0:
            return a.Key();
        case 6:
            return CAuftrag::GetNumberText(a.Monat());
        case 10:
            return a.BeginnText();
        case 11:
            return a.EndeText();
        case kZeit:
            return a.ZeitText();
        default:
            return auftragSpalte(a, column);
    }
}

QVariant OrdersModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(rows_.size())) {
        return {};
    }
    switch (role) {
        case Qt::DisplayRole:
            return text(*rows_[static_cast<std::size_t>(index.row())], index.column());
        case Qt::FontRole:
            return index.row() == zaehlend_ ? QVariant(fett_) : QVariant();
        default:
            return {};
    }
}

}  // namespace orv::ui
