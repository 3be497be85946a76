#include "WidgetHarness.h"
#include "session/SessionTestSupport.h"

#include "office/widgets/ctlNumPicker.h"
#include "office/widgets/ctlTextBox.h"
#include "ui/controls/TimeLineEdit.h"
#include "ui/controls/ctlMskzeit.h"
#include "ui/controls/ctlZeitEingabe.h"

#include <QLabel>
#include <QLineEdit>

#include <limits>
#include <memory>

namespace orv::ui {
namespace {

enum class Farbe { Keine, Standard, Rot, Blau };

struct Eingabe {
    const char* name;
    bool industrie;
    const char* getippt;  // into the clock field, or the picker in industrial mode
    const char* zeit;     // the clock field afterwards
    std::int32_t sekunden;
    const char* andereEinheit;  // ctlZeitInd afterwards
    const char* hinweis;
    Farbe farbe;
};

// The entry holds 00:30:10 (0,50 hours); the idle time is one hour.
const Eingabe kEingaben[] = {
    // clang-format off
    {"Unchanged", false, "003010", "00:30:10", 1810, "0,50", "keine Änderung der Zeit", Farbe::Standard},
    {"Zero", false, "000000", "00:00:00", 0, "0,01", "gesamte Zeit wird umgebucht, Leistung wird gelöscht", Farbe::Blau},
    {"Less", false, "002000", "00:20:00", 1200, "0,33", "00:10:10 Stunden werden auf Leerlauf umgebucht", Farbe::Blau},
    {"MoreWithinIdle", false, "010000", "01:00:00", 3600, "1,00", "00:29:50 Stunden werden von Leerlauf auf Leistung umgebucht", Farbe::Blau},
    {"MinutesAbove59MeanWhatTheySay", false, "017500", "02:15:00", 8100, "2,25", "Differenz aus bisheriger Zeit und neuer Zeit (01:44:50) ist größer als Leerlaufzeit (01:00:00)", Farbe::Rot},
    {"IndustrialOneAndAHalf", true, "1,5", "01:30:00", 5400, "01:30:00", "00:59:50 Stunden werden von Leerlauf auf Leistung umgebucht", Farbe::Blau},
    {"IndustrialHundredth", true, "0,01", "00:00:36", 36, "00:00:36", "00:29:34 Stunden werden auf Leerlauf umgebucht", Farbe::Blau},
    {"IndustrialZeroDeletes", true, "0,00", "00:00:00", 0, "00:00:00", "gesamte Zeit wird umgebucht, Leistung wird gelöscht", Farbe::Blau},
    {"IndustrialSameValueKeepsSeconds", true, "0,5", "00:30:10", 1810, "00:30:10", "keine Änderung der Zeit", Farbe::Standard},
    {"IndustrialNegativeRefused", true, "-1", "00:30:10", 1810, "00:30:10", "„-1“: eine Zeit kann nicht negativ sein. Bitte die Zeit in Industriestunden eingeben, z. B. 1,50.", Farbe::Rot},
    {"IndustrialNoNumberRefused", true, "1,2,3", "00:30:10", 1810, "00:30:10", "„1,2,3“ ist keine Zahl. Bitte die Zeit in Industriestunden eingeben, z. B. 1,50.", Farbe::Rot},
    {"IndustrialThreeDecimalsRefused", true, "1,555", "00:30:10", 1810, "00:30:10", "„1,555“ hat mehr als zwei Nachkommastellen. Bitte die Zeit in Industriestunden eingeben, z. B. 1,50.", Farbe::Rot},
    {"IndustrialAbove32BitsRefused", true, "600000", "00:30:10", 1810, "00:30:10", "„600000“ ist zu groß: höchstens 596.523,23 Stunden.", Farbe::Rot},
    // clang-format on
};

class ZeitEingabeTest : public test::SessionTest {
protected:
    void SetUp() override {
        SessionTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        tick(3600);
        auto auftrag = startNewOrder(5001);
        tick(1810);
        switchTo(CAuftrag::LeerlaufKey());
        leistung_ = auftrag->Leistung(QStringLiteral("1"));
        ASSERT_EQ(leistung_->Sekunden(), 1810);
        ASSERT_EQ(session_->LeerlaufAuftrag().Sekunden(), 3600);
    }

    // A control in a window of its own, with a field after it to move the focus to.
    std::unique_ptr<QWidget> zeige(bool industrie, std::int32_t modus = 1) {
        auto window = std::make_unique<QWidget>();
        ctl_ = new ctlZeitEingabe(window.get());
        new QLineEdit(window.get());
        session_->IndustrieZeit(industrie);
        ctl_->Modus(modus);
        ctl_->Leistung(leistung_);
        QObject::connect(ctl_, &ctlZeitEingabe::EnableControls, [this] { ++enableControls_; });
        test::showActive(*window);
        return window;
    }
    // Types into the visible time field over its whole text and leaves it with Enter.
    void tippe(const QString& text) {
        QLineEdit* feld =
            ctl_->IndustrieZeit()
                ? test::child<office::ctlNumPicker>(*ctl_, "ctlNumPicker1")->lineEdit()
                : test::child<QLineEdit>(*ctl_, "txtZeit");
        feld->setFocus();
        feld->selectAll();
        test::press(feld, text + QStringLiteral("{Return}"));
    }
    QLabel* hinweis() { return test::child<QLabel>(*ctl_, "lblHinweis"); }
    QString text(const char* name) { return test::child<office::ctlTextBox>(*ctl_, name)->Text(); }

    std::shared_ptr<cLeistung> leistung_;
    ctlZeitEingabe* ctl_ = nullptr;
    int enableControls_ = 0;
};

TEST_P(ZeitEingabeTest, TypedTimesAreCheckedAgainstTheIdleTime) {
    for (const Eingabe& e : kEingaben) {
        SCOPED_TRACE(e.name);
        auto window = zeige(e.industrie);
        tippe(QString::fromUtf8(e.getippt));
        EXPECT_EQ(ctl_->ZeitText(), QString::fromUtf8(e.zeit));
        EXPECT_EQ(ctl_->Sekunden(), e.sekunden);
        EXPECT_EQ(text("ctlZeitInd"), QString::fromUtf8(e.andereEinheit));
        EXPECT_EQ(hinweis()->text(), QString::fromUtf8(e.hinweis));
        EXPECT_TRUE(hinweis()->isVisible());
        const QColor farbe = e.farbe == Farbe::Rot    ? QColor(255, 0, 0)
                             : e.farbe == Farbe::Blau ? QColor(0, 0, 255)
                                                      : ctl_->palette().color(QPalette::Button);
        EXPECT_EQ(hinweis()->palette().color(QPalette::WindowText), farbe);
        EXPECT_EQ(leistung_->Sekunden(), 1810) << "the control never changes the entry";
    }
}

TEST_P(ZeitEingabeTest, RebookingAsksForNoMoreThanTheEntryHolds) {
    auto window = zeige(false, 3);
    for (const char* feld : {"ctlZeitbisher", "ctlZeitbisherInd", "ctlZeitNeu", "ctlZeitNeuInd"}) {
        EXPECT_FALSE(test::child<QWidget>(*ctl_, feld)->isVisible()) << feld;
    }
    tippe(QStringLiteral("003010"));
    EXPECT_FALSE(hinweis()->isVisible());
    tippe(QStringLiteral("003011"));
    EXPECT_EQ(hinweis()->text(), QStringLiteral("Umzubuchende Zeit ist größer als bisherige Zeit"));
    EXPECT_EQ(hinweis()->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(enableControls_, 2);

    ctl_->Modus(0);
    ctl_->ZielLeistungZeitBisher(600);
    EXPECT_TRUE(test::child<QWidget>(*ctl_, "ctlZeitNeu")->isVisible());
    EXPECT_EQ(text("ctlZeitbisher"), QStringLiteral("00:10:00"));
    EXPECT_EQ(text("ctlZeitbisherInd"), QStringLiteral("0,17"));
    EXPECT_EQ(text("ctlZeitNeu"), QStringLiteral("00:40:11"));
    EXPECT_EQ(text("ctlZeitNeuInd"), QStringLiteral("0,67"));
}

TEST_P(ZeitEingabeTest, UnproductiveTimeIsNotChecked) {
    auto window = zeige(false);
    ctl_->UnproduktiveZeit(true);
    tippe(QStringLiteral("020000"));
    EXPECT_FALSE(hinweis()->isVisible());
    EXPECT_EQ(enableControls_, 0);
    EXPECT_EQ(ctl_->Sekunden(), 7200);
}

// Durations of a day and more keep their hours, and the session checks the real seconds.
TEST_P(ZeitEingabeTest, LongDurationsAreShownAndCheckedAsTheyAre) {
    auto window = zeige(false);
    for (const auto& [sekunden, zeit, industrie] :
         {std::tuple{0, "00:00:00", "0,01"},
          {5400, "01:30:00", "1,50"},
          {36000, "10:00:00", "10,00"},
          {90000, "25:00:00", "25,00"},
          {std::numeric_limits<std::int32_t>::max(), "596523:14:07", "596.523,24"},
          {360000, "100:00:00", "100,00"}}) {
        ctl_->Sekunden(sekunden);
        EXPECT_EQ(ctl_->ZeitText(), QString::fromLatin1(zeit));
        EXPECT_EQ(ctl_->Sekunden(), sekunden);
        EXPECT_EQ(text("ctlZeitInd"), QString::fromLatin1(industrie));
    }
    test::press(test::child<QLineEdit>(*ctl_, "txtZeit"), QStringLiteral("{Return}"));
    EXPECT_EQ(hinweis()->text(),
              QStringLiteral("Differenz aus bisheriger Zeit und neuer Zeit "
                             "(99:29:50) ist größer als Leerlaufzeit (01:00:00)"));
}

TEST_P(ZeitEingabeTest, PastedNonsenseIsRefusedInTheMessageLine) {
    auto window = zeige(false);
    test::setClipboard(QStringLiteral("12:3x:00"));
    auto* feld = test::child<QLineEdit>(*ctl_, "txtZeit");
    feld->setFocus();
    test::press(feld, QStringLiteral("{Ctrl+V}"));
    EXPECT_EQ(ctl_->ZeitText(), QStringLiteral("00:30:10"));
    EXPECT_EQ(hinweis()->text(), QStringLiteral("„12:3x:00“ ist keine Zeit im Format hh:mm:ss."));
    EXPECT_EQ(hinweis()->palette().color(QPalette::WindowText), QColor(255, 0, 0));
}

ORV_INSTANTIATE_FOR_BACKENDS(ZeitEingabeTest);

}  // namespace
}  // namespace orv::ui
