#include "WidgetHarness.h"
#include "session/SessionTestSupport.h"

#include "office/widgets/ctlNumPicker.h"
#include "office/widgets/ctlTextBox.h"
#include "ui/controls/ctlZeitEingabe.h"

#include <QLabel>
#include <QLineEdit>

#include <memory>

namespace orv::ui {
namespace {

struct Eingabe {
    const char* name;
    // 'z' typed into the clock field, 'p' pasted there, 'u' typed for unproductive time (not
    // checked), 'i' typed into the picker in industrial mode, 'r' typed as the time to rebook
    // from the entry
    char art;
    const char* getippt;
    const char* zeit;  // the clock field afterwards
    std::int32_t sekunden;
    const char* andereEinheit;  // ctlZeitInd afterwards; nullptr: not looked at
    const char* hinweis;        // empty: none shown
};

// The entry holds 00:30:10 (0,50 hours); the idle time is one hour. Durations of a day and more
// keep their hours, and the check takes the real seconds.
const Eingabe kEingaben[] = {
    // clang-format off
    {"Unchanged", 'z', "003010", "00:30:10", 1810, "0,50", "keine Änderung der Zeit"},
    {"Zero", 'z', "000000", "00:00:00", 0, "0,01", "gesamte Zeit wird umgebucht, Leistung wird gelöscht"},
    {"MinutesAbove59MeanWhatTheySay", 'z', "017500", "02:15:00", 8100, "2,25", "Differenz aus bisheriger Zeit und neuer Zeit (01:44:50) ist größer als Leerlaufzeit (01:00:00)"},
    {"IndustrialHundredthsRoundedNotCut", 'i', "1,15", "01:09:00", 4140, "01:09:00", "00:38:50 Stunden werden von Leerlauf auf Leistung umgebucht"},
    {"IndustrialSameValueKeepsSeconds", 'i', "0,5", "00:30:10", 1810, "00:30:10", "keine Änderung der Zeit"},
    {"IndustrialNoNumberRefused", 'i', "1,2,3", "00:30:10", 1810, "00:30:10", "„1,2,3“ ist keine Zahl. Bitte die Zeit in Industriestunden eingeben, z. B. 1,50."},
    {"IndustrialAbove32BitsRefused", 'i', "600000", "00:30:10", 1810, "00:30:10", "„600000“ ist zu groß: höchstens 596.523,23 Stunden."},
    {"UnproductiveNotChecked", 'u', "020000", "02:00:00", 7200, nullptr, ""},
    {"PastedNonsenseRefused", 'p', "12:3x:00", "00:30:10", 1810, "0,50", "„12:3x:00“ ist keine Zeit im Format hh:mm:ss."},
    {"RebookAll", 'r', "003010", "00:30:10", 1810, "0,50", ""},
    // clang-format on
};

class ZeitEingabeTest : public test::SessionTest {
protected:
    // A control in a window of its own, with a field after it to move the focus to, set up for
    // the art of an entry.
    std::unique_ptr<QWidget> zeige(char art) {
        if (leistung_ == nullptr) {
            tick(3600);
            leistung_ = first(*workedOn(5001, 1810));
        }
        auto window = std::make_unique<QWidget>();
        ctl_ = new ctlZeitEingabe(window.get());
        new QLineEdit(window.get());
        session_->IndustrieZeit(art == 'i');
        ctl_->Modus(art == 'r' ? 3 : 1);
        ctl_->UnproduktiveZeit(art == 'u');
        ctl_->Leistung(leistung_);
        test::showActive(*window);
        return window;
    }
    QLabel* hinweis() { return test::child<QLabel>(*ctl_, "lblHinweis"); }
    QString text(const char* name) { return test::child<office::ctlTextBox>(*ctl_, name)->Text(); }

    std::shared_ptr<cLeistung> leistung_;
    ctlZeitEingabe* ctl_ = nullptr;
};

TEST_P(ZeitEingabeTest, TypedTimesAreCheckedAgainstTheIdleTime) {
    for (const Eingabe& e : kEingaben) {
        SCOPED_TRACE(e.name);
        auto window = zeige(e.art);
        // Typed over the visible field's whole text and left with Enter, or as the art says.
        QLineEdit* feld =
            ctl_->IndustrieZeit()
                ? test::child<office::ctlNumPicker>(*ctl_, "ctlNumPicker1")->lineEdit()
                : test::child<QLineEdit>(*ctl_, "txtZeit");
        feld->setFocus();
        const QString getippt = QString::fromUtf8(e.getippt);
        test::setClipboard(getippt);
        feld->selectAll();
        test::press(feld, e.art == 'p' ? QStringLiteral("{Ctrl+V}") : getippt + "{Return}");
        EXPECT_EQ(ctl_->ZeitText(), QString::fromUtf8(e.zeit));
        EXPECT_EQ(ctl_->Sekunden(), e.sekunden);
        EXPECT_TRUE(!e.andereEinheit || text("ctlZeitInd") == QString::fromUtf8(e.andereEinheit));
        EXPECT_EQ(hinweis()->isVisible() ? hinweis()->text() : QString(),
                  QString::fromUtf8(e.hinweis));
        EXPECT_EQ(leistung_->Sekunden(), 1810) << "the control never changes the entry";
    }
}

// Rebooking onto another entry shows that entry's time before and after, in both units.
TEST_P(ZeitEingabeTest, RebookingShowsTheTargetsTimeBeforeAndAfter) {
    auto window = zeige('r');
    ctl_->Modus(0);
    ctl_->ZielLeistungZeitBisher(600);
    EXPECT_EQ(text("ctlZeitbisher") + ' ' + text("ctlZeitbisherInd") + ' ' + text("ctlZeitNeu") +
                  ' ' + text("ctlZeitNeuInd"),
              QStringLiteral("00:10:00 0,17 00:40:10 0,67"));
}

ORV_INSTANTIATE_FOR_BACKENDS(ZeitEingabeTest);

}  // namespace
}  // namespace orv::ui
