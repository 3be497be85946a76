#include "DialogTestSupport.h"

#include "ui/dialogs/TexteGrid.h"

#include <vector>

namespace orv::ui {
namespace {

using test::outcome::kAbbruch;
using test::outcome::kGeaendert;
using test::outcome::kGeloescht;
using Employee = std::function<void(FrmLeistungDialog&)>;

class EditDialogTest : public test::DialogTest {
protected:
    void bearbeite(const cLeistung& entry, std::int32_t erwartet, Employee employee) {
        im<FrmLeistungDialog>([&] { return openEdit(entry); }, erwartet, std::move(employee));
    }
    // A new entry, or one split off a rebooking of the seconds.
    void neu(std::int32_t seconds, std::int32_t erwartet, Employee employee) {
        QString auftragKey;
        QString leistungKey;
        im<FrmLeistungDialog>(
            [&] { return session_->LeistungErzeugen(auftragKey, leistungKey, seconds); }, erwartet,
            std::move(employee));
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
    const char* ziffern;  // typed into the time field, which keeps the focus; empty: nothing
    bool okAn;            // OK (button and tool) offered for what is typed
    std::vector<const char*> schritte;
    std::int32_t ergebnis;
    std::int32_t sekunden;  // the entry's afterwards
    const char* mehr = "";  // the increase the refusal names, if refused
    std::int32_t vorher = 1800;
};

// Only OK changes the time, whichever way it is reached, and it moves between the entry and the
// idle time (an hour here); what the window refuses changes nothing, nor does Cancel.
TEST_P(EditDialogTest, TheTimeMovesBetweenEntryAndIdleTimeAtOkOnly) {
    const Fall faelle[] = {
        // Only the increase draws on idle time: a long entry can still be shortened.
        {"LongerThanIdleShortened", "015000", true, {"{Return}"}, kGeaendert, 6600, "", 7200},
        {"ThirtyToFortyFiveByButton", "004500", true, {"{Tab}", "ctlOk"}, kGeaendert, 2700},
        {"ShorterByTool", "002000", true, {"mnuOk"}, kGeaendert, 1200},
        {"ZeroByEnterDeletes", "000000", true, {"{Return}"}, kGeloescht, 0},
        {"EscapeCancels", "001000", true, {"{Escape}"}, kAbbruch, 1800},
        {"MoreThanIdle", "023000", false, {"{Return}", "ctlCancel"}, kAbbruch, 1800, "02:00:00"},
        {"ADayAndMore",
         "250000",
         false,
         {"mnuOk", "{Return}", "mnuCancel"},
         kAbbruch,
         1800,
         "24:30:00"},
        {"NothingChangedEnterCloses", "", false, {"{Return}"}, kAbbruch, 1800},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        const auto leistung = first(*workedOn(5001, f.vorher));
        const std::int32_t leer = idle();
        const qsizetype gesagt = meldungen().size();
        const QString vorher = objects(*session_);
        const QString meldung = QStringLiteral(
            "Differenz aus bisheriger Zeit und neuer Zeit (%1) ist größer als Leerlaufzeit (%2)");
        const QStringList refused{meldung.arg(QLatin1String(f.mehr), session_->LeerlaufZeitText())};
        bearbeite(*leistung, f.ergebnis, [&](FrmLeistungDialog& d) {
            if (*f.ziffern != 0) {
                zeit(d, QString::fromLatin1(f.ziffern), {});
            }
            EXPECT_EQ(okAn(d), f.okAn);
            EXPECT_EQ(test::child<QAction>(d, "mnuOk")->isEnabled(), f.okAn);
            for (const char* schritt : f.schritte) {
                ASSERT_TRUE(d.isVisible()) << "closed before " << schritt;
                tue(d, schritt);
            }
        });
        if (f.ergebnis == kAbbruch) {
            EXPECT_EQ(objects(*session_), vorher) << "Cancel changes nothing";
        }
        EXPECT_EQ(leistung->Sekunden(), f.sekunden);
        EXPECT_EQ(idle(), leer + f.vorher - f.sekunden);
        EXPECT_EQ(row(leistung->Id()).has_value(), f.ergebnis != kGeloescht);
        EXPECT_EQ(meldungen().mid(gesagt), *f.mehr != 0 ? refused : QStringList());
        pruefeSalden();
    }
}

// Bad industrial hours keep the employee in the field; a refused value is never confirmed.
TEST_P(EditDialogTest, NegativeIndustrialHoursAreRefusedAndNothingChanges) {
    session_->IndustrieZeit(true);
    const auto leistung = first(*workedOn(5001, 1800));
    bearbeite(*leistung, kAbbruch, [&](FrmLeistungDialog& d) {
        tippe(d, "ctlNumPicker1", QStringLiteral("-1"), QStringLiteral("{Return}"));
        werkzeug(d, "mnuOk");
        ASSERT_TRUE(d.isVisible());
        EXPECT_EQ(anzeige(d, "lblHinweis"),
                  QStringLiteral("„-1“: eine Zeit kann nicht negativ sein. Bitte die Zeit in "
                                 "Industriestunden eingeben, z. B. 1,50."));
        test::press(&d, QStringLiteral("{Escape}"));
    });
    EXPECT_EQ(row(leistung->Id())->sekunden, 1800);
    pruefeSalden();
}

// Text lines change at OK only: edited, added (any characters, any length), and a line emptied
// goes from the database as well, so the next start does not bring it back. A note or text
// keeps the entry's times.
TEST_P(EditDialogTest, TextLinesAndTheNoteChangeAtOkAndAnEmptiedLineIsDeleted) {
    const auto leistung = first(*workedOn(5001, 1800));
    leistung->StandardTextSetzen(QStringLiteral("Belege"));
    leistung->TextHinzufuegen(0, QStringLiteral("Abstimmung"));
    leistung->Speichern(false);
    const QDateTime beginn = leistung->Beginn();
    const QString lang = QStringLiteral("Prüfung \"Ä\\Ö\" 'ß' ") + QString(280, QLatin1Char('x')) +
                         QStringLiteral("Ende");
    bearbeite(*leistung, kGeaendert, [&](FrmLeistungDialog& d) {
        zeile(d, 0, {});
        zeile(d, 1, QStringLiteral("Abstimmung Bank"));
        zeile(d, 2, lang);
        // A standard text's number becomes its text on Enter.
        zeile(d, 3, QStringLiteral("11"));
        test::setClipboard(QStringLiteral("nach Rücksprache"));
        test::press(&d, QStringLiteral("{Ctrl+V}{Return}"));
        tippe(d, "ctlNotiz", QStringLiteral("Notiz \"1\""));
        klick(d, "ctlOk");
    });
    const QStringList erwartet{QStringLiteral("Abstimmung Bank"), lang,
                               QStringLiteral("Abstimmung der Konten nach Rücksprache")};
    EXPECT_EQ(textLines(leistung->Id()), erwartet);
    EXPECT_EQ(row(leistung->Id())->text2, QStringLiteral("Notiz \"1\""));
    EXPECT_EQ(leistung->Beginn(), beginn);
    EXPECT_EQ(leistung->Sekunden(), 1800);
    restart();
    EXPECT_EQ(first(*session_->AuftragZuAuftragId(5001))->Texte().Count(), 3);
}

// One entry of a stopwatch with three goes to another order at OK; the stopwatch, running
// meanwhile, and its other entries stay. Cancelled after changing order, time, note and a text
// line, nothing changes at all.
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
    bearbeite(*zweite, kAbbruch, [&](FrmLeistungDialog& d) {
        waehleAuftrag(d, 5003);
        zeit(d, "000100");
        tippe(d, "ctlNotiz", QStringLiteral("falsch"));
        zeile(d, 0, QStringLiteral("Belege"));
        klick(d, "ctlCancel");
    });
    EXPECT_EQ(objects(*session_), vorher);
    bearbeite(*zweite, kGeaendert, [&](FrmLeistungDialog& d) {
        waehleAuftrag(d, 5003);
        klick(d, "ctlOk");
    });
    EXPECT_EQ(zweite->Auftrag().AuftragId(), 5003);
    EXPECT_EQ(auftrag->AuftragId(), 5001);
    EXPECT_EQ(auftrag->Leistungen().Count(), 3) << "two of three, and the one counting now";
    EXPECT_EQ(row(zweite->Id())->parentId, zweite->Auftrag().Id());
    EXPECT_EQ(row(auftrag->Id())->idAuftrag, 5001);
    tick(60);
    EXPECT_EQ(auftrag->Sekunden(), 600 + 300 + 60);
    pruefeSalden();
}

// A new entry needs an order and a time; it takes its time from the idle time, and one split
// off a rebooking at most the rebooking's time.
TEST_P(EditDialogTest, ANewEntryNeedsAnOrderAndATime) {
    const std::int32_t leer = idle();
    neu(0, kGeaendert, [&](FrmLeistungDialog& d) {
        for (const char* z : {"002000", "000000", "002000"}) {
            zeit(d, QString::fromLatin1(z), QStringLiteral("{Return}"));
            if (meldungen().size() == 1) {
                waehleAuftrag(d, 5003);
            }
        }
    });
    EXPECT_EQ(
        meldungen(),
        (QStringList{
            QStringLiteral("Bitte geben Sie den Auftrag der neuen Leistung an."),
            QStringLiteral(
                "Bitte geben Sie die Zeit der neuen Leistung an; 00:00:00 ist keine Zeit.")}));
    EXPECT_EQ(first(*session_->AuftragZuAuftragId(5003))->Sekunden(), 1200);
    EXPECT_EQ(idle(), leer - 1200);
    neu(600, kAbbruch, [&](FrmLeistungDialog& d) {
        waehleAuftrag(d, 5001);
        zeit(d, "001001", {});
        EXPECT_FALSE(okAn(d));
        test::press(&d, QStringLiteral("{Escape}"));
    });
    EXPECT_EQ(session_->AuftragZuAuftragId(5001), nullptr);
    pruefeSalden();
}

// The day closing books the idle entry's own time, not editable, on the order the employee
// confirms with its note, however the window is confirmed; Cancel and Escape let the day go on
// and keep the office's setting.
TEST_P(EditDialogTest, TheDayClosingBooksOnTheChosenOrderOrLetsTheDayGoOn) {
    struct Abschluss {
        std::int32_t gewaehlt;    // picked in the office's browser, with a note; 0: nothing
        const char* schluss;      // "": closed by the window's frame
        std::int32_t gebuchtAuf;  // the order the idle time was booked on; 0: the day goes on
    };
    for (const Abschluss& f : {Abschluss{5003, "ctlCancel", 0}, Abschluss{0, "{Escape}", 0},
                               Abschluss{0, "", 5013}, Abschluss{5003, "ctlOk", 5003}}) {
        SCOPED_TRACE(f.schluss);
        const std::int32_t einstellung = session_->LeerlaufBuchungsAuftrag();
        const std::int32_t leer = idle();
        im<FrmLeistungDialog>(
            [&] { return session_->Beenden(); }, f.gebuchtAuf != 0,
            [&](FrmLeistungDialog& d) {
                EXPECT_FALSE(test::child<QWidget>(d, "ctlZeitEingabe1")->isEnabled());
                if (f.gewaehlt != 0) {
                    waehleAuftrag(d, f.gewaehlt);
                    tippe(d, "ctlNotiz", QStringLiteral("Büro"));
                }
                *f.schluss != 0 ? tue(d, f.schluss) : void(d.close());
            });
        if (f.gebuchtAuf == 0) {
            EXPECT_EQ(session_->LeerlaufBuchungsAuftrag(), einstellung);
            EXPECT_EQ(idle(), leer);
            EXPECT_FALSE(rowsOf().empty());
            expectBalanced();
            continue;
        }
        EXPECT_EQ(services().split(QLatin1Char('\n')).last().section(QLatin1Char('|'), 0, 1),
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
