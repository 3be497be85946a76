#include "ui/main/EntriesModel.h"

#include "ORVkStoppUhren/Enums.h"
#include "model/CAuftrag.h"
#include "model/cLeistung.h"
#include "session/CStoppUhren.h"
#include "ui/main/GridColumns.h"

namespace orv::ui {

const GridColumns& EntriesModel::columns(bool verwaltungsanteil) {
    static const auto make = [](bool vZeit) {
        return GridColumns{{{"", 0},
                            {"", 0},
                            {"Mandant", 2000},
                            {"AufArt-Nr", 750},
                            {"Ang-Nr", 650},
                            {"Angelegenheit", 3500},
                            {"Termin", 800},
                            {"Jahr", 0},
                            {"Lfd-Nr", 600},
                            {"Obj-Nr", 0},
                            {"Beginn", 0},
                            {"Ende", 0},
                            {"Text", 1800},
                            {"Zeit", 1000},
                            vZeit ? GridColumn{"V-Zeit", 1000} : GridColumn{"", 0},
                            {"", 0}}};
    };
    static const GridColumns kMit = make(true);
    static const GridColumns kOhne = make(false);
    return verwaltungsanteil ? kMit : kOhne;
}

EntriesModel::EntriesModel(QObject* parent) : GridModel(parent) {}

void EntriesModel::setSession(CStoppUhren* session) {
    session_ = session;
    zeilenErsetzen(rows_, {});
}

void EntriesModel::LeistungenAnzeigen() {
    std::vector<Zeile> rows;
    if (session_ != nullptr) {
        for (const std::shared_ptr<CAuftrag>& auftrag : session_->Auftraege()) {
            for (const std::shared_ptr<cLeistung>& leistung : auftrag->Leistungen()) {
                if (leistung->Status() == AuftragStatus_Beendet) {
                    rows.push_back({auftrag, leistung});
                }
            }
        }
    }
    zeilenErsetzen(rows_, std::move(rows));
}

std::shared_ptr<cLeistung> EntriesModel::leistung(int row) const {
    if (row < 0 || row >= rowCount()) {
        return nullptr;
    }
    return rows_[static_cast<std::size_t>(row)].leistung;
}

QString EntriesModel::leistungKey(int row) const {
    const std::shared_ptr<cLeistung> l = leistung(row);
    return l == nullptr ? QString() : l->Key();
}

QString EntriesModel::auftragKey(int row) const {
    if (row < 0 || row >= rowCount()) {
        return {};
    }
    return rows_[static_cast<std::size_t>(row)].auftrag->Key();
}

int EntriesModel::row(const QString& auftragKey, const QString& leistungKey) const {
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].leistung->Key() == leistungKey && rows_[i].auftrag->Key() == auftragKey) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void EntriesModel::zeileAktualisieren(int row) {
    zeileGeaendert(row);
}

int EntriesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

QString EntriesModel::text(const Zeile& zeile, int column) const {
    const CAuftrag& a = *zeile.auftrag;
    const cLeistung& l = *zeile.leistung;
    switch (column) {
        case 0:
            return l.Key();
        case 1:
            return a.Key();
        case 6:
            // An entry without office order has no period to show.
            return a.Monat() == 0 && a.Jahr() == 0 ? QString() : a.PeriodeText();
        case 10:
            return l.BeginnText();
        case 11:
            return l.EndeText();
        case 12:
            return l.ErsteZeileText();
        case 13:
            return l.ZeitText();
        case kVZeit:
            // An administrative share that dropped to nothing leaves the cell empty.
            return l.VerwaltungsZeit() > 0 ? l.VerwaltungsZeitText() : QString();
        default:
            return auftragSpalte(a, column);
    }
}

QVariant EntriesModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    return text(rows_[static_cast<std::size_t>(index.row())], index.column());
}

const GridColumns& EntriesModel::spalten() const {
    return columns(session_ != nullptr && session_->VerwaltungsanteilAktiv());
}

}  // namespace orv::ui
