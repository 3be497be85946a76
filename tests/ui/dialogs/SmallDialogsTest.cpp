#include "DialogTestSupport.h"

#include "office/widgets/ctlDatePicker.h"
#include "ui/controls/ctlAuftrag.h"

#include <QDateEdit>

#include <vector>

namespace orv::ui {
namespace {

using platform::MsgAnswer;

QDateTime heute(int stunde, int minute) {
    return QDateTime(QDate(2026, 3, 16), QTime(stunde, minute));
}

// The session started at 08:00 and counts on the idle stopwatch.
class SmallDialogsTest : public test::DialogTest {
protected:
    SmallDialogsTest() : DialogTest(0) {}
};

// The pause is measured on the clock, not by timer events: the display follows the clock.
TEST_P(SmallDialogsTest, APauseOfTenMinutesAndFiveSecondsOnTheClock) {
    startNewOrder(5001);
    tick(420);
    test::whenModal<FrmPauseDialog>([&](FrmPauseDialog& dialog) {
        EXPECT_EQ(anzeige(dialog, "lblBeginn"), QStringLiteral("08:07:00"));
        // The session's clock ticks keep coming into the dialog's loop; it stands still, and each
        // refresh of the display reads the clock.
        const std::pair<int, QString> ablesungen[] = {{65, QStringLiteral("00:01:05")},
                                                      {540, QStringLiteral("00:10:05")}};
        for (const auto& a : ablesungen) {
            EXPECT_FALSE(platform_->timer()->tick(clock(), a.first));
            EXPECT_TRUE(
                QTest::qWaitFor([&] { return anzeige(dialog, "lblZeit") == a.second; }, 3000))
                << anzeige(dialog, "lblZeit").toStdString();
        }
        test::press(&dialog, QStringLiteral("{Return}"));
    });
    session_->Pause();
    tick(30);
    pruefeSalden();
}

struct Periode {
    int tag;              // the day of March set in the date field; 0: today's left
    const char* getippt;  // from and to, digits only
    const char* hinweis;  // empty: valid
};

// An earlier session of the day logged 06:00-06:30; the current login began at 08:00.
const Periode kPerioden[] = {
    {0, "0000{Tab}0000", "Keine Zeiten angegeben."},
    {0, "0730{Tab}0700", "Endzeit muss größer als Startzeit sein."},
    {0, "0700{Tab}0700", "Endzeit muss größer als Startzeit sein."},
    {0, "0730{Tab}0830", "Zunkünftige Zeiten können nicht erfasst werden."},
    {0, "0615{Tab}0645",
     "Der angegebene Zeitraum überschneidet sich mit einem bereits vorhandenen Login"},
    {13, "0700{Tab}0730", "Externe Zeiten können nur für den heutigen Tag erfasst werden."},
    {0, "0700{Tab}0730", ""},
};

// Each change of a field checks the period: the hint appears and OK is enabled while typing,
// before the field is left. A refused period cannot be confirmed, not even by Enter; Escape
// cancels. A valid one is confirmed with Enter after the question, and its seconds are idle
// time and a login of kind 1, also after a restart.
TEST_P(SmallDialogsTest, ExternalTimeIsCheckedAtEveryChange) {
    gateway().LoginErstellen(heute(6, 0), heute(6, 30), 0);
    tick(60);
    for (const Periode& p : kPerioden) {
        SCOPED_TRACE(testing::Message() << p.getippt << " " << p.hinweis);
        const std::int32_t leerlauf = idle();
        const bool gueltig = *p.hinweis == 0;
        if (gueltig) {
            platform_->messageBoxes().answer(MsgAnswer::No);
            platform_->messageBoxes().answer(MsgAnswer::Yes);
        }
        const qsizetype gesagt = meldungen().size();
        test::whenModal<FrmExterneZeitDialog>([&](FrmExterneZeitDialog& dialog) {
            if (p.tag != 0) {
                test::child<office::ctlDatePicker>(dialog, "ctlDatePicker1")
                    ->dateEdit()
                    ->setDate(QDate(2026, 3, p.tag));
            }
            test::press(&dialog, QString::fromLatin1(p.getippt));
            EXPECT_EQ(anzeige(dialog, "lblHinweis"), QString::fromUtf8(p.hinweis));
            EXPECT_EQ(okAn(dialog), gueltig);
            // Enter confirms only a valid period; the first question is answered No.
            test::press(&dialog, QStringLiteral("{Return}"));
            EXPECT_TRUE(dialog.isVisible());
            if (gueltig) {
                // From the last field the Tab key reaches OK, and Enter there confirms.
                test::press(&dialog, QStringLiteral("{Tab}"));
                EXPECT_EQ(QApplication::focusWidget(), test::child<QWidget>(dialog, "ctlOk"));
            }
            test::press(&dialog, gueltig ? QStringLiteral("{Return}") : QStringLiteral("{Escape}"));
        });
        std::int32_t sekunden = -1;
        QDateTime von;
        QDateTime bis;
        EXPECT_EQ(session_->ExterneZeitErfassen(sekunden, von, bis), gueltig ? 1 : 2);
        const QString frage = QStringLiteral(
            "Die eingegebene Zeit wird sofort zur unproduktiven Zeit addiert und in die "
            "Mitarbeiterzeiten übernommen.\nBei Abbruch der Erfassung der neuen Leistung wird "
            "dieser Vorgang NICHT rückgängig gemacht.\nMöchten Sie trotzdem fortfahren?");
        EXPECT_EQ(meldungen().mid(gesagt), (gueltig ? QStringList{frage, frage} : QStringList{}));
        const std::int32_t erfasst = gueltig ? 1800 : 0;
        EXPECT_EQ(sekunden, erfasst);
        counted_ += erfasst;
        EXPECT_EQ(idle(), leerlauf + erfasst);
        EXPECT_EQ(logins(), gueltig ? "06:00:00-06:30:00/0 07:00:00-07:30:00/1 08:00:00-/0"
                                    : "06:00:00-06:30:00/0 08:00:00-/0");
    }
    pruefeSalden();
    restart();
    expectBalanced();
    EXPECT_TRUE(platform_->errorReports().empty());
}

// What the window found free may be taken by another workstation before OK: the session checks
// again and records nothing. A database failure at any statement of the step leaves neither the
// login nor the seconds; done again, the step records both once.
TEST_P(SmallDialogsTest, ExternalTimeIsWrittenWholeOrNotAtAll) {
    test::whenModal<FrmExterneZeitDialog>([&](FrmExterneZeitDialog& dialog) {
        test::press(&dialog, QStringLiteral("0700{Tab}0730"));
        gateway().LoginErstellen(heute(7, 10), heute(7, 20), 0);
        test::press(&dialog, QStringLiteral("{Return}"));
    });
    std::int32_t sekunden = 0;
    QDateTime von;
    QDateTime bis;
    const auto fehler = test::failureOf([&] { session_->ExterneZeitErfassen(sekunden, von, bis); });
    ASSERT_TRUE(fehler.has_value());
    EXPECT_EQ(
        fehler->description(),
        QStringLiteral(
            "Der angegebene Zeitraum überschneidet sich mit einem bereits vorhandenen Login"));
    const QString vorher = QStringLiteral("07:10:00-07:20:00/0 08:00:00-/0");
    EXPECT_EQ(idle(), 0);
    EXPECT_EQ(logins(), vorher);

    platform_->qtWindows().FrmExterneZeit = nullptr;
    for (int k = 1;; ++k) {
        SCOPED_TRACE(testing::Message() << "statement " << k);
        platform_->frmExterneZeit().accept(heute(6, 0), heute(6, 30));
        const int gesehen = faults().statementsSeen();
        faults().failStatement(k);
        const auto f = test::failureOf([&] { session_->ExterneZeitErfassen(sekunden, von, bis); });
        const bool erreicht = faults().statementsSeen() - gesehen >= k;
        faults().clear();
        if (!erreicht) {
            EXPECT_FALSE(f.has_value());
            EXPECT_GE(k - 1, 3) << "the check, the login, the idle order and its entry";
            break;
        }
        EXPECT_TRUE(f.has_value());
        EXPECT_EQ(idle(), 0);
        EXPECT_EQ(row(session_->LeerlaufAuftrag().Id())->sekunden, 0);
        EXPECT_EQ(logins(), vorher);
    }
    counted_ += 1800;
    EXPECT_EQ(idle(), 1800);
    EXPECT_EQ(logins(), QStringLiteral("06:00:00-06:30:00/1 ") + vorher);
    pruefeSalden();
}

struct Eigenschaft {
    const char* name;
    std::int32_t gewaehlt;  // picked in the office's browser; 0: nothing picked
    std::vector<MsgAnswer> antworten;
    const char* schliessen;  // the keys that end the dialog after the answers
    std::int32_t gespeichert;
    bool scheitert = false;  // the database fails the write
};

constexpr std::int32_t kBisher = office::demo::kUnproductiveTimeOrder;
const Eigenschaft kEigenschaften[] = {
    {"UnchangedConfirmedWithoutQuestion", 0, {}, "{Return}", kBisher},
    {"CancelledAfterPicking", 5002, {}, "{Escape}", kBisher},
    {"AskedAndRefusedThenCancelled", 5002, {MsgAnswer::No}, "{Return}{Escape}", kBisher},
    {"AskedAndConfirmed", 5002, {MsgAnswer::Yes}, "{Return}", 5002},
    {"ConfirmedButNotWritten", 5001, {MsgAnswer::Yes}, "{Return}", 5002, true},
};

// The idle booking order belongs to the whole office: the dialog says so, and a changed order
// is written only after the employee confirmed the question; Cancel, No and a failed write
// leave the session and the office on the order they had.
TEST_P(SmallDialogsTest, ThePropertiesAskBeforeChangingTheOfficesIdleOrder) {
    const QString kanzleiweit = QStringLiteral(
        "Dieser Auftrag gilt für die ganze Kanzlei: Auf ihn wird beim Tagesabschluss die "
        "unproduktive Zeit aller Mitarbeiter gebucht.");
    const QString frage = kanzleiweit + QStringLiteral(
                                            "\nSoll die unproduktive Zeit künftig auf "
                                            "den gewählten Auftrag gebucht werden?");
    for (const Eigenschaft& e : kEigenschaften) {
        SCOPED_TRACE(e.name);
        for (MsgAnswer a : e.antworten) {
            platform_->messageBoxes().answer(a);
        }
        const qsizetype gesagt = meldungen().size();
        const std::int32_t bisher = session_->LeerlaufBuchungsAuftrag();
        test::whenModal<FrmEigenschaftenDialog>([&](FrmEigenschaftenDialog& dialog) {
            EXPECT_EQ(anzeige(dialog, "lblKanzleiweit"), kanzleiweit);
            EXPECT_EQ(test::child<ctlAuftrag>(dialog, "ctlAuftrag1")->AuftragId(), bisher);
            if (e.gewaehlt != 0) {
                waehleAuftrag(dialog, e.gewaehlt);
            }
            if (e.scheitert) {
                faults().failStatement(1);
            }
            test::press(&dialog, QString::fromLatin1(e.schliessen));
        });
        EXPECT_EQ(test::failureOf([&] { session_->Eigenschaftenanzeigen(); }).has_value(),
                  e.scheitert);
        faults().clear();
        EXPECT_EQ(meldungen().mid(gesagt),
                  QStringList(static_cast<qsizetype>(e.antworten.size()), frage));
        EXPECT_EQ(session_->LeerlaufBuchungsAuftrag(), e.gespeichert);
        EXPECT_EQ(gateway().OptionsWertErmitteln(2), QString::number(e.gespeichert));
    }
    tick(30);
    pruefeSalden();
    EXPECT_TRUE(platform_->errorReports().empty());
}

ORV_INSTANTIATE_FOR_BACKENDS(SmallDialogsTest);

}  // namespace
}  // namespace orv::ui
