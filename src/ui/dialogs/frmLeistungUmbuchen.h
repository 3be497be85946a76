#pragma once

#include "ORVkStoppUhren/Enums.h"
#include "platform/Windows.h"

#include <QDialog>

#include <cstdint>
#include <memory>

class QGroupBox;
class QLabel;
class QRadioButton;
class QTableView;

namespace orv {
class CStoppUhren;
class ObjectTrace;
}  // namespace orv

namespace orv::office {
class ctlButton;
}

namespace orv::platform {
class PlatformFactory;
}

namespace orv::ui {

class LeistungenModel;
class ctlZeitEingabe;

// Moves time from one provisional entry to another, to the idle time or to a new entry, or
// from the idle time to an entry. Each OK is one step of the session: both sides change
// together or not at all. At least a second and at most what the source holds is moved; after a
// move the window shows the result and asks for the next amount, so a second OK moves nothing
// twice. A source left without time is deleted, and the window closes.
class FrmLeistungUmbuchenDialog final : public QDialog, public platform::FrmLeistungUmbuchen {
    Q_OBJECT
public:
    explicit FrmLeistungUmbuchenDialog(platform::PlatformFactory& platform);
    ~FrmLeistungUmbuchenDialog() override;

    std::int32_t LeistungUmbuchen(cLeistung& entry) override;
    std::int32_t LeerlaufUmbuchen(cLeistung& idleEntry) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::int32_t anzeigen(cLeistung& quelle, bool eintragsModus);
    // The amount field shows the source again, the grid its candidates with that entry chosen.
    void LeistungMarkieren(const QString& leistungKey);
    void optUmbuchenAufClick();
    void ZeitZielLeistungAktualisieren();
    void EnableButtons();
    bool aufLeerlauf() const;
    cLeistung* zielLeistung() const;
    // The amount can be moved: at least a second, at most what the source holds.
    bool betragMoeglich() const;
    void umbuchen();
    void neueLeistung();
    // After a move: the moved amount is done; the next one must be asked for anew.
    void ergebnisZeigen();
    void quelleGeloescht();
    template <typename Body>
    void ereignis(const char* procedure, Body&& body);

    platform::PlatformFactory& platform_;
    std::unique_ptr<ObjectTrace> trace_;
    CStoppUhren* session_ = nullptr;
    cLeistung* quelle_ = nullptr;
    bool eintragsModus_ = true;
    std::int32_t ergebnis_ = BearbeitungStati_Abbruch;

    QGroupBox* fraUmbuchen_;
    QRadioButton* optVorlaeufig_;
    QRadioButton* optUnproduktiv_;
    QLabel* lblQuelle_;
    ctlZeitEingabe* ctlZeitEingabe1_;
    QTableView* grdLeistungen_;
    LeistungenModel* leistungen_;
    office::ctlButton* ctlOk_;
    office::ctlButton* ctlNeueLeistung_;
    office::ctlButton* ctlCancel_;
};

}  // namespace orv::ui
