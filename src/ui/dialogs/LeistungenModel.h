#pragma once

#include <QAbstractTableModel>

#include <utility>
#include <vector>

namespace orv {
class CStoppUhren;
class cLeistung;
}  // namespace orv

namespace orv::ui {

// The finished provisional entries of the session's orders, a row each: the candidates a
// rebooking can move time to. Rows hold the keys only and read the entry when shown, so a row
// always shows what the entry holds now.
class LeistungenModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    // The columns, in the order of the grid.
    enum Spalte {
        LeistungKey,
        AuftragKey,
        Mandant,
        AufArtNr,
        AngNr,
        Angelegenheit,
        Monat,
        Jahr,
        LfdNr,
        ObjNr,
        Beginn,
        Ende,
        Text,
        Zeit,
        VZeit,
        Leer,
        Spalten
    };

    explicit LeistungenModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    // Every finished entry of every order but the source, in the session's order.
    void fuellen(CStoppUhren& session, const cLeistung* ausser);
    void leeren();
    // The row of the entry with that key, or -1.
    int zeile(const QString& leistungKey) const;
    // The entry of a row, or nullptr when it is gone meanwhile.
    cLeistung* leistung(int row) const;
    // The row shows its entry again.
    void aktualisieren(int row);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    CStoppUhren* session_ = nullptr;
    std::vector<std::pair<QString, QString>> zeilen_;  // order key, entry key
};

}  // namespace orv::ui
