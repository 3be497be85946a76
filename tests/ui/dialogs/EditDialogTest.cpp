#include "DialogTestSupport.h"

#include "ui/dialogs/TexteGrid.h"
#include "ui/dialogs/frmLeistung.h"

#include <QLabel>

namespace orv::ui {
namespace {

using test::outcome::kAbbruch;
using test::outcome::kGeaendert;
using test::outcome::kGeloescht;
using Employee = std::function<void(FrmLeistungDialog&)>;

const QString kMehrAlsLeerlauf = QStringLiteral(
    "Differenz aus bisheriger Zeit und neuer Zeit (%1) ist größer als Leerlaufzeit (%2)");
const QString kOhneAuftrag = QStringLiteral("Bitte geben Sie den Auftrag der neuen Leistung an.");
const QString kOhneZeit =
    QStringLiteral("Bitte geben Sie die Zeit der neuen Leistung an; 00:00:00 ist keine Zeit.");
const QString kUnproduktivOhneAuftrag = QStringLiteral(
    "Um die unproduktive Leistung buchen zu können, muss der Auftrag angegeben werden.");

// The edit window on entries of a session with an hour of idle time.
class EditDialogTest : public test::DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        platform_->qtWindows().FrmLeistung = [this] {
            return std::make_unique<FrmLeistungDialog>(*platform_);
        };
    }
    std::int32_t bearbeite(const cLeistung& entry, Employee employee) {
        return im<FrmLeistungDialog>(std::move(employee), [&] { return openEdit(entry); });
    }
    std::int32_t neu(Employee employee, std::int32_t seconds = 0) {
        return im<FrmLeistungDialog>(std::move(employee), [&] {
            QString auftragKey;
            QString leistungKey;
            return session_->LeistungErzeugen(auftragKey, leistungKey, seconds);
        });
    }
    bool abschluss(Employee employee) {
        return im<FrmLeistungDialog>(std::move(employee), [&] { return session_->Beenden(); });
    }
    static bool okAn(const FrmLeistungDialog& d) {
        return test::child<QWidget>(d, "ctlOk")->isEnabled();
    }
    void waehleAuftrag(FrmLeistungDialog& d, std::int32_t auftragId) {
        platform_->orderBrowser().answer(std::vector<std::int32_t>{auftragId});
        werkzeug(d, "mnuAuftrag");
    }
    // Writes a text line of the grid (a row past the lines is the new line's).
    static void zeile(FrmLeistungDialog& d, int row, const QString& text) {
        auto* grid = test::child<TexteGrid>(d, "grdTexte");
        grid->setFocus(Qt::TabFocusReason);
        grid->setCurrentCell(row, 1);
        if (qobject_cast<QLineEdit*>(QApplication::focusWidget()) == nullptr) {
            grid->edit(grid->currentIndex());
        }
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        ASSERT_NE(editor, nullptr) << "the cell is edited as soon as it is entered";
        editor->selectAll();
        test::setClipboard(text);
        test::press(editor, text.isEmpty() ? QStringLiteral("{Del}{Return}")
                                           : QStringLiteral("{Ctrl+V}{Return}"));
    }
};

struct Fall {
    const char* name;
    Employee employee;
    std::int32_t ergebnis;
    std::int32_t sekunden;  // the entry's afterwards
    QString meldung;        // the message the employee got, if any
};

// The entry has 30 minutes; the idle time an hour. Only OK changes anything, whichever way it is
// reached; what the window refuses changes nothing either.
TEST_P(EditDialogTest, TheTimeMovesBetweenEntryAndIdleTimeAtOkOnly) {
    const auto ok = [](FrmLeistungDialog& d) { klick(d, "ctlOk"); };
    const Fall faelle[] = {
        {"ThirtyToFortyFiveByButton",
         [&](auto& d) {
             zeit(d, "004500");
             EXPECT_TRUE(okAn(d));
             ok(d);
         },
         kGeaendert,
         2700,
         {}},
        {"ShorterByTool",
         [&](auto& d) {
             zeit(d, "002000", {});
             werkzeug(d, "mnuOk");
         },
         kGeaendert,
         1200,
         {}},
        {"ZeroByEnterDeletes", [&](auto& d) { zeit(d, "000000", "{Return}"); }, kGeloescht, 0, {}},
        {"CancelAfterTimeNoteAndText",
         [&](auto& d) {
             zeit(d, "004500");
             tippe(d, "ctlNotiz", QStringLiteral("Rückfrage"));
             zeile(d, 0, QStringLiteral("Belege"));
             klick(d, "ctlCancel");
         },
         kAbbruch,
         1800,
         {}},
        {"EscapeCancels",
         [&](auto& d) {
             zeit(d, "001000");
             test::press(&d, QStringLiteral("{Escape}"));
         },
         kAbbruch,
         1800,
         {}},
        {"MoreThanTheIdleTimeRefused",
         [&](auto& d) {
             zeit(d, "023000");
             EXPECT_FALSE(okAn(d));
             test::press(&d, QStringLiteral("{Return}"));
             ASSERT_TRUE(d.isVisible());
             klick(d, "ctlCancel");
         },
         kAbbruch, 1800, kMehrAlsLeerlauf.arg(QStringLiteral("02:00:00"))},
        {"ADayAndMoreRefused",
         [&](auto& d) {
             zeit(d, "250000", {});
             EXPECT_FALSE(test::child<QAction>(d, "mnuOk")->isEnabled()) << "follows what is typed";
             test::press(&d, QStringLiteral("{Return}"));
             werkzeug(d, "mnuCancel");
         },
         kAbbruch, 1800, kMehrAlsLeerlauf.arg(QStringLiteral("24:30:00"))},
        {"NothingChangedEnterCloses",
         [&](auto& d) { test::press(&d, QStringLiteral("{Return}")); },
         kAbbruch,
         1800,
         {}},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        const auto leistung = first(*workedOn(5001, 1800));
        const std::int32_t leer = idle();
        const qsizetype gesagt = meldungen().size();
        const QString vorher = objects(*session_);
        const QString leerText = session_->LeerlaufZeitText();
        EXPECT_EQ(bearbeite(*leistung, f.employee), f.ergebnis);
        if (f.ergebnis == kAbbruch) {
            EXPECT_EQ(objects(*session_), vorher) << "Cancel changes nothing";
        }
        EXPECT_EQ(leistung->Sekunden(), f.sekunden);
        EXPECT_EQ(idle(), leer + 1800 - f.sekunden);
        EXPECT_EQ(row(leistung->Id()).has_value(), f.ergebnis != kGeloescht);
        EXPECT_EQ(meldungen().mid(gesagt),
                  f.meldung.isEmpty()
                      ? QStringList()
                      : QStringList{QString(f.meldung).replace(QStringLiteral("%2"), leerText)});
        expectBalanced();
        expectRowsMatchObjects();
    }
}

// Bad industrial hours keep the employee in the field; a refused value is never confirmed.
TEST_P(EditDialogTest, NegativeIndustrialHoursAreRefusedAndNothingChanges) {
    session_->IndustrieZeit(true);
    const auto leistung = first(*workedOn(5001, 1800));
    EXPECT_EQ(bearbeite(*leistung,
                        [&](FrmLeistungDialog& d) {
                            tippe(d, "ctlNumPicker1", QStringLiteral("-1"),
                                  QStringLiteral("{Return}"));
                            EXPECT_TRUE(d.isVisible());
                            werkzeug(d, "mnuOk");
                            EXPECT_TRUE(d.isVisible());
                            EXPECT_EQ(test::child<QLabel>(d, "lblHinweis")->text(),
                                      QStringLiteral("„-1“: eine Zeit kann nicht negativ sein. "
                                                     "Bitte die Zeit in Industriestunden "
                                                     "eingeben, z. B. 1,50."));
                            test::press(&d, QStringLiteral("{Escape}"));
                        }),
              kAbbruch);
    EXPECT_EQ(leistung->Sekunden(), 1800);
    EXPECT_EQ(row(leistung->Id())->sekunden, 1800);
}

// Text lines change at OK only: edited, added (any characters, any length), and a line emptied
// goes from the database as well, so the next start does not bring it back.
TEST_P(EditDialogTest, TextLinesAndTheNoteChangeAtOkAndAnEmptiedLineIsDeleted) {
    const auto leistung = first(*workedOn(5001, 1800));
    leistung->StandardTextSetzen(QStringLiteral("Belege"));
    leistung->TextHinzufuegen(0, QStringLiteral("Abstimmung"));
    leistung->Speichern(false);
    const QDateTime beginn = leistung->Beginn();
    const QString lang = QStringLiteral("Prüfung \"Ä\\Ö\" 'ß' ") + QString(280, QLatin1Char('x')) +
                         QStringLiteral("Ende");
    EXPECT_EQ(bearbeite(*leistung,
                        [&](FrmLeistungDialog& d) {
                            zeile(d, 0, {});
                            zeile(d, 1, QStringLiteral("Abstimmung Bank"));
                            zeile(d, 2, lang);
                            // A standard text's number becomes its text on Enter.
                            zeile(d, 3, QStringLiteral("11"));
                            test::setClipboard(QStringLiteral("nach Rücksprache"));
                            test::press(&d, QStringLiteral("{Ctrl+V}{Return}"));
                            tippe(d, "ctlNotiz", QStringLiteral("Notiz \"1\""));
                            klick(d, "ctlOk");
                        }),
              kGeaendert);
    const QStringList erwartet{QStringLiteral("Abstimmung Bank"), lang,
                               QStringLiteral("Abstimmung der Konten nach Rücksprache")};
    EXPECT_EQ(textLines(leistung->Id()), erwartet);
    EXPECT_EQ(row(leistung->Id())->text2, QStringLiteral("Notiz \"1\""));
    EXPECT_EQ(leistung->Beginn(), beginn) << "a note or text keeps the entry's times";
    EXPECT_EQ(leistung->Sekunden(), 1800);
    restart();
    const auto geladen = first(*session_->AuftragZuAuftragId(5001));
    ASSERT_EQ(geladen->Texte().Count(), 3);
    EXPECT_EQ(geladen->ErsteZeileText(), erwartet.front());
}

// A long entry can be shortened although the idle time is smaller than the entry: only an
// increase draws on idle time.
TEST_P(EditDialogTest, AnEntryLongerThanTheIdleTimeCanBeShortened) {
    const auto leistung = first(*workedOn(5003, 7200));
    const std::int32_t leer = idle();
    EXPECT_EQ(bearbeite(*leistung, [&](FrmLeistungDialog& d) { zeit(d, "015000", "{Return}"); }),
              kGeaendert);
    EXPECT_EQ(leistung->Sekunden(), 6600);
    EXPECT_EQ(idle(), leer + 600);
    expectBalanced();
}

// One entry of a stopwatch with three goes to another order at OK; the stopwatch, running
// meanwhile, and its other entries stay. Cancelled, the choice changes nothing at all.
TEST_P(EditDialogTest, AnotherOrderMovesThatEntryOnlyAndOnlyAtOk) {
    const auto auftrag = workedOn(5001, 600);
    for (int i = 0; i < 2; ++i) {
        switchTo(auftrag->Key());
        tick(300);
        switchTo(CAuftrag::LeerlaufKey());
    }
    ASSERT_EQ(auftrag->Leistungen().Count(), 3);
    const auto zweite = auftrag->Leistungen().at(2);
    switchTo(auftrag->Key());
    const QString vorher = objects(*session_);
    EXPECT_EQ(bearbeite(*zweite,
                        [&](FrmLeistungDialog& d) {
                            waehleAuftrag(d, 5003);
                            zeit(d, "000100");
                            tippe(d, "ctlNotiz", QStringLiteral("falsch"));
                            klick(d, "ctlCancel");
                        }),
              kAbbruch);
    EXPECT_EQ(objects(*session_), vorher);
    EXPECT_EQ(bearbeite(*zweite,
                        [&](FrmLeistungDialog& d) {
                            waehleAuftrag(d, 5003);
                            EXPECT_TRUE(d.AuftragGeaendert());
                            klick(d, "ctlOk");
                        }),
              kGeaendert);
    EXPECT_EQ(zweite->Auftrag().AuftragId(), 5003);
    EXPECT_EQ(auftrag->AuftragId(), 5001);
    EXPECT_EQ(auftrag->Leistungen().Count(), 3) << "two of three, and the one counting now";
    EXPECT_EQ(row(zweite->Id())->parentId, zweite->Auftrag().Id());
    EXPECT_EQ(row(auftrag->Id())->idAuftrag, 5001);
    tick(60);
    EXPECT_EQ(auftrag->Sekunden(), 600 + 300 + 60);
    expectBalanced();
    expectRowsMatchObjects();
}

// A new entry needs an order and a time; it takes its time from the idle time.
TEST_P(EditDialogTest, ANewEntryNeedsAnOrderAndATime) {
    const std::int32_t leer = idle();
    EXPECT_EQ(neu([&](FrmLeistungDialog& d) {
                  EXPECT_TRUE(test::child<QWidget>(d, "ctlExtern")->isVisible());
                  zeit(d, "002000", "{Return}");
                  EXPECT_TRUE(d.isVisible());
                  waehleAuftrag(d, 5003);
                  zeit(d, "000000", "{Return}");
                  EXPECT_TRUE(d.isVisible());
                  zeit(d, "002000", "{Return}");
              }),
              kGeaendert);
    EXPECT_EQ(meldungen(), (QStringList{kOhneAuftrag, kOhneZeit}));
    const auto neue = first(*session_->AuftragZuAuftragId(5003));
    EXPECT_EQ(neue->Sekunden(), 1200);
    EXPECT_EQ(idle(), leer - 1200);
    // Split off a rebooking's time: at most that time.
    EXPECT_EQ(neu(
                  [&](FrmLeistungDialog& d) {
                      waehleAuftrag(d, 5001);
                      zeit(d, "001001", {});
                      EXPECT_FALSE(okAn(d));
                      test::press(&d, QStringLiteral("{Escape}"));
                  },
                  600),
              kAbbruch);
    EXPECT_EQ(session_->AuftragZuAuftragId(5001), nullptr);
    expectBalanced();
    expectRowsMatchObjects();
}

struct Abschluss {
    const char* name;
    Employee employee;
    std::int32_t gebuchtAuf;  // the order the idle time was booked on; 0: the day goes on
};

// The day closing books the idle entry's own time on the order the employee confirms, however
// the window is confirmed; Cancel and Escape let the day go on and keep the office's setting.
TEST_P(EditDialogTest, TheDayClosingBooksOnTheChosenOrderOrLetsTheDayGoOn) {
    const Abschluss faelle[] = {
        {"Cancelled", [&](auto& d) { klick(d, "ctlCancel"); }, 0},
        {"Escape", [&](auto& d) { test::press(&d, QStringLiteral("{Escape}")); }, 0},
        {"ClosedByItsFrameConfirms", [&](auto& d) { d.close(); }, 5013},
        {"OtherOrder",
         [&](auto& d) {
             EXPECT_FALSE(test::child<QWidget>(d, "ctlZeitEingabe1")->isEnabled());
             waehleAuftrag(d, 5003);
             tippe(d, "ctlNotiz", QStringLiteral("Büro"));
             klick(d, "ctlOk");
         },
         5003},
    };
    for (const Abschluss& f : faelle) {
        SCOPED_TRACE(f.name);
        const std::int32_t einstellung = session_->LeerlaufBuchungsAuftrag();
        const std::int32_t leer = idle();
        EXPECT_EQ(abschluss(f.employee), f.gebuchtAuf != 0);
        if (f.gebuchtAuf == 0) {
            EXPECT_EQ(session_->LeerlaufBuchungsAuftrag(), einstellung);
            EXPECT_EQ(idle(), leer);
            EXPECT_FALSE(rowsOf().empty());
            expectBalanced();
            continue;
        }
        const QString service = services().split(QLatin1Char('\n')).last();
        EXPECT_EQ(service.section(QLatin1Char('|'), 0, 1),
                  QStringLiteral("%1|%2").arg(f.gebuchtAuf).arg(qRound(leer / 0.36)));
        EXPECT_TRUE(rowsOf().empty());
        EXPECT_EQ(gateway().OptionsWertErmitteln(2), QString::number(f.gebuchtAuf));
        restart();
        tick(1800);
    }
}

ORV_INSTANTIATE_FOR_BACKENDS(EditDialogTest);

}  // namespace
}  // namespace orv::ui
