#pragma once

#include "ui/controls/OrderKey.h"

#include <QWidget>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class QGroupBox;
class QLabel;
class QLineEdit;

namespace orv {
class CAuftrag;
class CStoppUhren;
class ObjectTrace;
class cLeistung;
}  // namespace orv

namespace orv::office {
class LeaveValidation;
class ctlAufArtAng;
class ctlDatePicker;
class ctlMandant;
class ctlTextBox;
}  // namespace orv::office

namespace orv::ui {

class DropList;

// The order of a stopwatch or a time entry, identified by its business key: client, order kind
// and matter, period, running number and object number. A changed key is looked up in the
// office when the employee leaves the control (or the field that completes the key); a key the
// office does not know is created there when the employee may create orders. Invoiced orders
// are refused unless the session allows entries on them.
class ctlAuftrag final : public QWidget {
    Q_OBJECT
public:
    explicit ctlAuftrag(CStoppUhren& session, QWidget* parent = nullptr);
    ~ctlAuftrag() override;

    void FocusMandant();
    void AuftragZeigen(std::shared_ptr<CAuftrag> auftrag);
    void Eigenschaftenanzeigen(std::shared_ptr<CAuftrag> auftrag);
    void LeistungAnzeigen(const std::shared_ptr<cLeistung>& leistung);
    void EnableControls(bool enable);
    std::int32_t AuftragId() const { return auftragId_; }
    void AuftragId(std::int32_t id) { auftragId_ = id; }
    bool FakturierterAuftrag() const { return fakturiert_; }

    // Looks the key up when it changed since the order was shown or last checked; the host may
    // call it before it accepts the order (its OK button).
    void PruefeAuftrag();
    // The focus moving from the control to this widget (the host's Cancel button) checks
    // nothing: leaving on the way to Cancel creates no order. Buttons of the reject role in a
    // dialog button box count without being named.
    void AbbruchZiel(QWidget* widget) { abbruchZiele_.push_back(widget); }

signals:
    // The key was resolved to an office order, or one was chosen by browsing.
    void AuftragGeaendert();
    // The focus reached the control's last tab stop.
    void LoseFocus();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ObjectToView();
    // The matter shown in the picker: its facts decide which numbers tell its orders apart.
    void Angelegenheitspruefung();
    void tabFolge();
    bool hatObjektNr() const;
    AuftragSchluessel schluessel() const;
    bool geaendert(const AuftragSchluessel& key) const;
    bool vollstaendig(const AuftragSchluessel& key) const;
    void pruefen();
    // After a refused or failed check: the fields show the key of the order AuftragId names.
    void zuruecksetzen();
    void schluesselZeigen(std::int32_t auftragId);
    void hinweisFakturiert(bool fakturiert);
    void meldung(const QString& text);
    void laufendeNummern();
    void laufendeNummerGewaehlt(const QString& item);
    void naechstesFeld(QWidget* nach);
    void fokusGewechselt(QWidget* alt, QWidget* neu);
    bool fuehrtZumAbbruch(QWidget* ziel) const;
    void textVorgabeBestaetigt();
    void textVorgabeVerlassen();
    void keyF(int key);
    // A window event reports its failure; a member called by the host passes it on.
    template <typename Body>
    void ereignis(const char* procedure, Body&& body);
    template <typename Body>
    void aufruf(const char* procedure, Body&& body);

    CStoppUhren& session_;
    std::unique_ptr<ObjectTrace> trace_;

    QGroupBox* fraAuftrag_;
    office::ctlMandant* ctlMandant_;
    office::ctlAufArtAng* ctlAufArtAng_;
    office::ctlDatePicker* ctlTermin_;
    office::ctlTextBox* ctlLfdNr_;
    DropList* dropList1_;
    office::ctlTextBox* ctlAngErweitert_;
    office::ctlTextBox* ctlObjNr_;
    QLabel* lblObjekt_;
    office::ctlTextBox* ctlTextVorgabe_;
    QLabel* lblHiweis_;
    QLineEdit* txtFocusDummy_;

    std::shared_ptr<CAuftrag> auftrag_;
    bool eintragsModus_ = false;
    bool eigenschaftenModus_ = false;
    bool mehrfachAnlage_ = false;
    bool vuv_ = false;
    bool bewertung_ = false;
    bool schenkung_ = false;
    bool erbschaft_ = false;
    bool grundsteuer_ = false;
    bool fakturiert_ = false;
    std::int32_t auftragId_ = 0;
    // The key checked last: leaving again without a change looks nothing up.
    std::optional<AuftragSchluessel> geprueft_;
    bool prueftGerade_ = false;
    std::vector<QWidget*> abbruchZiele_;
    // Removed first when the control goes: the focus leaving its dying fields is no leave.
    std::vector<office::LeaveValidation*> validierungen_;
};

}  // namespace orv::ui
