#pragma once

#include "ui/main/GridModel.h"

#include <memory>
#include <vector>

namespace orv {
class CAuftrag;
class CStoppUhren;
class cLeistung;
}  // namespace orv

namespace orv::ui {

// The entries view: every finished, not yet booked entry of the session's orders. Cells are
// read from the entries when painted.
class EntriesModel final : public GridModel {
    Q_OBJECT
public:
    static constexpr int kVZeit = 14;
    // With the administrative share in force the "V-Zeit" column is shown.
    static const GridColumns& columns(bool verwaltungsanteil);

    explicit EntriesModel(QObject* parent = nullptr);

    void setSession(CStoppUhren* session);
    void LeistungenAnzeigen();
    // nullptr for no row.
    std::shared_ptr<cLeistung> leistung(int row) const;
    // The keys of the row's entry and its order; empty for no row.
    QString leistungKey(int row) const;
    QString auftragKey(int row) const;
    int row(const QString& auftragKey, const QString& leistungKey) const;
    void zeileAktualisieren(int row);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

protected:
    const GridColumns& spalten() const override;

private:
    struct Zeile {
        std::shared_ptr<CAuftrag> auftrag;
        std::shared_ptr<cLeistung> leistung;
    };
    QString text(const Zeile& zeile, int column) const;

    CStoppUhren* session_ = nullptr;
    std::vector<Zeile> rows_;
};

}  // namespace orv::ui
