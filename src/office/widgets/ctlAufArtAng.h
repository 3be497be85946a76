#pragma once

#include "office/directory/MatterDirectory.h"
#include "office/widgets/DirectoryPicker.h"

namespace orv::office {

// The office's order-kind-and-matter picker: one field "10/101" (order kind number, slash,
// matter number) with the matter's text beside it. The numbers are resolved as they are typed;
// letters, or the order kind's digits, offer matching matters; F9 or F10 in the order control
// (the selection operation) opens the list "Angelegenheit auswählen".
class ctlAufArtAng final : public DirectoryPicker {
    Q_OBJECT
public:
    ctlAufArtAng(db::Database& database, QWidget* parent = nullptr);

    std::int32_t AuftragArtNr() const { return auswahl_.auftragArtNr; }
    void AuftragArtNr(std::int32_t nummer);
    std::int32_t AngelegenheitNr() const { return auswahl_.angelegenheitNr; }
    void AngelegenheitNr(std::int32_t nummer);
    // 0 when the text names no matter.
    std::int32_t AngelegenheitId() const { return auswahl_.angelegenheitId; }
    void AngelegenheitId(std::int32_t id);
    const QString& Angelegenheit() const { return auswahl_.angelegenheit; }
    void Angelegenheit(const QString& text);
    void AuftragArt(const QString& text);

protected:
    std::vector<PickerItem> eintraege(const QString& typed, int limit) const override;
    bool aufloesen(const QString& text) override;
    void waehlen(std::int32_t id) override;
    QString unbekannt(const QString& text) const override;

private:
    void anzeigen();

    MatterDirectory directory_;
    MatterEntry auswahl_;
};

}  // namespace orv::office
