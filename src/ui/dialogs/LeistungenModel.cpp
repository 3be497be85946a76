#include "ui/dialogs/LeistungenModel.h"

#include "ORVkStoppUhren/Enums.h"
#include "model/CAuftrag.h"
#include "model/cLeistung.h"
#include "session/CStoppUhren.h"

namespace orv::ui {

void LeistungenModel::fuellen(CStoppUhren& session, const cLeistung* ausser) {
    beginResetModel();
    session_ = &session;
    zeilen_.clear();
    for (const std::shared_ptr<CAuftrag>& auftrag : session.Auftraege()) {
        for (const std::shared_ptr<cLeistung>& leistung : auftrag->Leistungen()) {
            if (leistung->Status() == AuftragStatus_Beendet && leistung.get() != ausser) {
                zeilen_.emplace_back(auftrag->Key(), leistung->Key());
            }
        }
    }
    endResetModel();
}

void LeistungenModel::leeren() {
    beginResetModel();
    zeilen_.clear();
    endResetModel();
}

int LeistungenModel::zeile(const QString& leistungKey) const {
    for (std::size_t row = 0; row < zeilen_.size(); ++row) {
        if (zeilen_[row].second == leistungKey) {
            return static_cast<int>(row);
        }
    }
    return -1;
}

cLeistung* LeistungenModel::leistung(int row) const {
    if (session_ == nullptr || row < 0 || row >= rowCount()) {
        return nullptr;
    }
    const auto& [auftragKey, leistungKey] = zeilen_[static_cast<std::size_t>(row)];
    const std::shared_ptr<CAuftrag> auftrag = session_->Auftraege().find(auftragKey);
    const std::shared_ptr<cLeistung> leistung =
        auftrag != nullptr ? auftrag->Leistungen().find(leistungKey) : nullptr;
    return leistung != nullptr && leistung->Status() < cLeistung::kStatusZeileGeloescht
               ? leistung.get()
               : nullptr;
}

void LeistungenModel::aktualisieren(int row) {
    emit dataChanged(index(row, 0), index(row, Spalten - 1));
}

int LeistungenModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(zeilen_.size());
}

int LeistungenModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Spalten;
}

QVariant LeistungenModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole) {
        return {};
    }
    const cLeistung* l = leistung(index.row());
    if (l == nullptr) {
        return {};
    }
    const CAuftrag& a = l->Auftrag();
    switch (index.column()) {
        case LeistungKey:
            return l->Key();
        case AuftragKey:
            return a.Key();
        case Mandant:
            return a.MandantLabel();
        case AufArtNr:
            return CAuftrag::GetNumberText(a.AuftragArtNr());
        case AngNr:
            return CAuftrag::GetNumberText(a.AngelegenheitNr());
        case Angelegenheit:
            return a.Angelegenheit();
        case Monat:
            return CAuftrag::GetNumberText(a.Monat());
        case Jahr:
            return CAuftrag::GetNumberText(a.Jahr());
        case LfdNr:
            return CAuftrag::GetNumberText(a.LfdNr());
        case ObjNr:
            return CAuftrag::GetNumberText(a.ObjektNr());
        case Beginn:
            return l->BeginnText();
        case Ende:
            return l->EndeText();
        case Text:
            return l->ErsteZeileText();
        case Zeit:
            return l->ZeitText();
        case VZeit:
            return l->VerwaltungsZeit() > 0 ? l->VerwaltungsZeitText() : QString();
        default:
            return {};
    }
}

QVariant LeistungenModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    static const char* const kKoepfe[Spalten] = {
        "",       "",       "Mandant", "AufArt-Nr", "Ang-Nr", "Angelegenheit", "Monat",  "Jahr",
        "Lfd-Nr", "Obj-Nr", "Beginn",  "Ende",      "Text",   "Zeit",          "V-Zeit", ""};
    return section >= 0 && section < Spalten ? QString::fromUtf8(kKoepfe[section]) : QVariant();
}

}  // namespace orv::ui
