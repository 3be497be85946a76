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
    const char* ziffern;   // typed into the time field, which keeps the focus; empty: nothing
    const char* schritte;  // what the employee does then, one step after another
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
        {"LongerThanIdleShortened", "015000", "{Return}", kGeaendert, 6600, "", 7200},
        {"LongerByToolFromTheField", "004500", "mnuOk", kGeaendert, 2700},
        {"ZeroByEnterDeletes", "000000", "{Return}", kGeloescht, 0},
        {"EscapeCancels", "001000", "{Escape}", kAbbruch, 1800},
        {"MoreThanIdle", "023000", "{Return} ctlCancel", kAbbruch, 1800, "02:00:00"},
        {"ADayAndMore", "250000", "mnuOk {Return} mnuCancel", kAbbruch, 1800, "24:30:00"},
        {"NothingChangedEnterCloses", "", "{Return}", kAbbruch, 1800},
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
            // OK, button and tool, is offered for a time that can be taken.
            const bool an = *f.ziffern != 0 && *f.mehr == 0;
            EXPECT_EQ(okAn(d), an);
            EXPECT_EQ(test::child<QAction>(d, "mnuOk")->isEnabled(), an);
            tue(d, f.schritte);
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
        tue(d, "mnuOk");
        ASSERT_TRUE(d.isVisible());
        EXPECT_EQ(anzeige(d, "lblHinweis"),
                  QStringLiteral("„-1“: eine Zeit kann nicht negativ sein. Bitte die Zeit in "
                                 "Industriestunden eingeben, z. B. 1,50."));
        test::press(&d, QStringLiteral("{Escape}"));
    });
    EXPECT_EQ(row(leistung->Id())->sekunden, 1800);
    pruefeSalden();
}

// Cancelled after changing order, time, note and a text line, nothing changes at all. At OK the
// text lines change: edited, added (any characters, any length), and a line emptied goes from
// the database as well, so the next start does not bring it back. The entry goes to the other
// order with its times; its stopwatch, running meanwhile, keeps the entry counting now.
TEST_P(EditDialogTest, TextLinesNoteAndOrderChangeAtOkOnly) {
    const auto auftrag = workedOn(5001, 1800);
    const auto leistung = first(*auftrag);
    leistung->StandardTextSetzen(QStringLiteral("Belege"));
    leistung->TextHinzufuegen(0, QStringLiteral("Abstimmung"));
    leistung->Speichern(false);
    switchTo(auftrag->Key());
    const QDateTime beginn = leistung->Beginn();
    const QString vorher = objects(*session_);
    bearbeite(*leistung, kAbbruch, [&](FrmLeistungDialog& d) {
        waehleAuftrag(d, 5003);
        zeit(d, "000100");
        tippe(d, "ctlNotiz", QStringLiteral("falsch"));
        zeile(d, 0, QStringLiteral("Rechnung"));
        klick(d, "ctlCancel");
    });
    EXPECT_EQ(objects(*session_), vorher);
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
        waehleAuftrag(d, 5003);
        klick(d, "ctlOk");
    });
    const QStringList erwartet{QStringLiteral("Abstimmung Bank"), lang,
                               QStringLiteral("Abstimmung der Konten nach Rücksprache")};
    EXPECT_EQ(textLines(leistung->Id()), erwartet);
    EXPECT_EQ(row(leistung->Id())->text2, QStringLiteral("Notiz \"1\""));
    EXPECT_EQ(leistung->Beginn(), beginn);
    EXPECT_EQ(leistung->Sekunden(), 1800);
    EXPECT_EQ(leistung->Auftrag().AuftragId(), 5003);
    EXPECT_EQ(auftrag->Leistungen().Count(), 1) << "the entry counting now stays";
    tick(60);
    EXPECT_EQ(auftrag->Sekunden(), 60);
    pruefeSalden();
    restart();
    EXPECT_EQ(first(*session_->AuftragZuAuftragId(5003))->Texte().Count(), 3);
}

// A new entry needs an order and a time; it takes its time from the idle time, and one split
// off a rebooking at most the rebooking's time.
TEST_P(EditDialogTest, ANewEntryNeedsAnOrderAndATime) {
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
    // The only order's 1200 seconds: the balance holds them taken from the idle time.
    EXPECT_EQ(session_->AuftragZuAuftragId(5003)->Sekunden(), 1200);
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
    constexpr std::int32_t kBisher = office::demo::kUnproductiveTimeOrder;
    const struct {
        std::int32_t gewaehlt;    // picked in the office's browser, with a note; 0: nothing
        const char* schluss;      // "": closed by the window's frame
        std::int32_t gebuchtAuf;  // the order the idle time was booked on; 0: the day goes on
    } faelle[] = {
        {5003, "ctlCancel", 0}, {0, "{Escape}", 0}, {0, "", kBisher}, {5003, "ctlOk", 5003}};
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.schluss);
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
        const std::int32_t einstellung = f.gebuchtAuf != 0 ? f.gebuchtAuf : kBisher;
        EXPECT_EQ(gateway().OptionsWertErmitteln(2), QString::number(einstellung));
        EXPECT_EQ(rowsOf().empty(), f.gebuchtAuf != 0);
        if (f.gebuchtAuf == 0) {
            EXPECT_EQ(session_->LeerlaufBuchungsAuftrag(), kBisher);
            EXPECT_EQ(idle(), leer);
            expectBalanced();
            continue;
        }
        EXPECT_EQ(services().split(QLatin1Char('\n')).last().section(QLatin1Char('|'), 0, 1),
                  QStringLiteral("%1|%2").arg(f.gebuchtAuf).arg(qRound(leer / 0.36)));
        restart();
        tick(1800);
    }
}

ORV_INSTANTIATE_FOR_BACKENDS(EditDialogTest);

}  // namespace
}  // namespace orv::ui
