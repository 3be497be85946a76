#pragma once

#include "ORVkStoppUhren/Enums.h"
#include "platform/Windows.h"

#include <QDateTime>
#include <QDialog>

#include <cstdint>
#include <memory>

class QAction;
class QLabel;
class QVBoxLayout;

namespace orv {
class CAuftrag;
class CStoppUhren;
class ObjectTrace;
}  // namespace orv

namespace orv::office {
class ctlButton;
class ctlTextBox;
}  // namespace orv::office

namespace orv::platform {
class PlatformFactory;
}

namespace orv::ui {

class TexteGrid;
class ctlAuftrag;
class ctlZeitEingabe;

// Editing one time entry: its order, time, note and text lines; for a new entry also an
// external period. Mode 0 edits, mode 1 creates an entry with part of a time being rebooked,
// mode 2 is the day closing with the idle entry. Nothing reaches the entry or the session
// before OK: Cancel (button, tool or Escape) returns BearbeitungStati_Abbruch and leaves all
// as it was. Another order for an existing entry is only reported back; the session moves the
// entry at OK.
class FrmLeistungDialog final : public QDialog, public platform::FrmLeistung {
    Q_OBJECT
public:
    explicit FrmLeistungDialog(platform::PlatformFactory& platform);
    ~FrmLeistungDialog() override;

    void setModus(std::int32_t modus) override { modus_ = modus; }
    std::int32_t LeistungAnzeigen(cLeistung& entry, std::int32_t& seconds, std::int32_t& auftragId,
                                  bool unproduktiv) override;
    void AktualisiereZeiten() override;
    bool AuftragGeaendert() const override { return auftragGeaendert_; }

    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void ObjectToView();
    void EnableControls();
    bool geaendert() const;
    // Why OK cannot confirm what is shown now; empty when it can.
    QString hinderungsgrund() const;
    // Every route to OK: the order key and the time are checked as leaving them would, then
    // the rules; only then do the changes reach the entry.
    void bestaetigen();
    void ViewToObject();
    void externeZeit();
    void auftragBrowsen();
    void meldung(const QString& text);
    template <typename Body>
    void ereignis(const char* procedure, Body&& body);

    platform::PlatformFactory& platform_;
    std::unique_ptr<ObjectTrace> trace_;
    CStoppUhren* session_ = nullptr;
    cLeistung* leistung_ = nullptr;
    // What the order control shows and may change: a copy, so that typing and browsing there
    // reach no order of the session before OK.
    std::shared_ptr<CAuftrag> auftragKopie_;
    std::shared_ptr<cLeistung> leistungKopie_;
    std::int32_t modus_ = 0;
    bool unproduktiv_ = false;
    bool neu_ = false;
    std::int32_t sekundenBeiOeffnung_ = 0;
    std::int32_t auftragIdBisher_ = 0;
    std::int32_t ergebnis_ = BearbeitungStati_Abbruch;
    std::int32_t sekundenZurueck_ = 0;
    std::int32_t auftragIdZurueck_ = 0;
    bool auftragGeaendert_ = false;
    QDateTime externVon_;
    QDateTime externBis_;

    QVBoxLayout* layout_;
    QAction* mnuAuftrag_;
    QAction* mnuOk_;
    QAction* mnuCancel_;
    ctlAuftrag* ctlAuftrag1_ = nullptr;
    ctlZeitEingabe* ctlZeitEingabe1_;
    QLabel* lblExternezeit_;
    office::ctlTextBox* ctlNotiz_;
    TexteGrid* grdTexte_;
    office::ctlButton* ctlExtern_;
    office::ctlButton* ctlOk_;
    office::ctlButton* ctlCancel_;
};

}  // namespace orv::ui
