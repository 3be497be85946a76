#pragma once

#include <QWidget>

#include <cstdint>
#include <memory>

class QLabel;

namespace orv {
class ObjectTrace;
class cLeistung;
}  // namespace orv

namespace orv::office {
class ctlNumPicker;
class ctlTextBox;
}  // namespace orv::office

namespace orv::ui {

class ctlMskzeit;

// The time of a time entry, typed as clock time "hh:nn:ss" or as industrial hours, with the
// same time in the other unit and a coloured line that tells what the change will do: nothing,
// move time to or from the idle time, delete the entry, or (rebooking) ask for more than there
// is. Rebooking also shows the target entry's previous and resulting time.
class ctlZeitEingabe final : public QWidget {
    Q_OBJECT
public:
    // Flags of Modus.
    static constexpr std::int32_t kOhneZielzeiten = 1;
    static constexpr std::int32_t kUmbuchen = 2;

    explicit ctlZeitEingabe(QWidget* parent = nullptr);
    ~ctlZeitEingabe() override;

    // The clock text of the time entered.
    QString ZeitText() const;
    // The time entered, in seconds, in either mode.
    std::int32_t Sekunden() const;
    // Shows the seconds; hours grow beyond two digits rather than wrap at a day.
    void Sekunden(std::int32_t seconds);
    const std::shared_ptr<cLeistung>& Leistung() const { return leistung_; }
    void Leistung(std::shared_ptr<cLeistung> leistung);
    bool IndustrieZeit() const { return industrieZeit_; }
    void IndustrieZeit(bool on);
    void QuellZeitText(const QString& text);
    void ZielZeitText(const QString& text);
    void ZielLeistungZeitBisher(std::int32_t seconds);
    void Modus(std::int32_t flags);
    void UnproduktiveZeit(bool unproductive) { unproduktiv_ = unproductive; }
    // Checks what is typed now, as leaving the field does. False while the typed time stands
    // refused (the message line says why): the host confirms nothing the employee did not mean.
    bool Pruefen();

signals:
    // After every validation of the time: the host re-evaluates its buttons.
    void EnableControls();

private:
    void ObjectToView();
    void mskZeitValidate();
    // The industrial hours typed become the clock time, when the employee changed them.
    void industrieZeitUebernehmen();
    void zeigeAndereEinheit(std::int32_t seconds);
    void zeigeIndustrie(std::int32_t seconds);
    void hinweis(const QString& text, const QColor& colour);
    // Runs a procedure with its trace and error handler: an event reports a failure, a member
    // called by the host passes it on.
    template <typename Body>
    void guarded(const char* procedure, bool reports, Body&& body);

    ctlMskzeit* mskZeit_;
    office::ctlNumPicker* ctlNumPicker1_;
    office::ctlTextBox* ctlZeitInd_;
    office::ctlTextBox* ctlZeitbisher_;
    office::ctlTextBox* ctlZeitbisherInd_;
    office::ctlTextBox* ctlZeitNeu_;
    office::ctlTextBox* ctlZeitNeuInd_;
    QLabel* label1_;
    QLabel* lblHinweis_;

    std::shared_ptr<cLeistung> leistung_;
    std::unique_ptr<ObjectTrace> trace_;
    bool industrieZeit_ = false;
    bool umbuchen_ = false;
    bool unproduktiv_ = false;
    std::int32_t zielBisher_ = 0;
    // The industrial hours last shown, in hundredths: typing the same value changes nothing.
    std::int64_t gezeigteHundertstel_ = 0;
    // What was typed last was refused, and no check has passed since.
    bool abgelehnt_ = false;
};

}  // namespace orv::ui
