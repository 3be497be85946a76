#include "DialogTestSupport.h"

#include "ui/dialogs/TexteGrid.h"

namespace orv::ui {
namespace {

using namespace test::outcome;

class EditDialogTest : public test::DialogTest {
protected:
    void bearbeite(const cLeistung& entry, std::int32_t erwartet,
                   std::function<void(FrmLeistungDialog&)> employee) {
        im<FrmLeistungDialog>([&] { return openEdit(entry); }, erwartet, std::move(employee));
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
        editor->setText(text);
        test::press(editor, QStringLiteral("{Return}"));
    }
};

// Only OK changes the time, and it moves between the entry and the idle time (an hour here);
// what the window refuses changes nothing, nor does Escape. Only the increase draws on idle
// time: a long entry can still be shortened.
TEST_P(EditDialogTest, TheTimeMovesBetweenEntryAndIdleTimeAtOkOnly) {
    // Typed into the time field, the keys pressed then, the answer, and the entry's seconds
    // before and after.
    const std::tuple<const char*, const char*, int, int, int> faelle[] = {
        {"015000", "{Return}", kGeaendert, 7200, 6600},
        {"004500", "{Return}", kGeaendert, 1800, 2700},
        {"000000", "{Return}", kGeloescht, 1800, 0},
        {"001000", "{Escape}", kAbbruch, 1800, 1800},
        {"023000", "{Return}{Escape}", kAbbruch, 1800, 1800}};
    for (const auto& [ziffern, tasten, ergebnis, vorher, nachher] : faelle) {
        const auto leistung = first(*workedOn(5001, vorher));
        const std::int32_t leer = idle();
        const QString objekte = objects(*session_);
        bearbeite(*leistung, ergebnis,
                  [z = ziffern, t = tasten](FrmLeistungDialog& d) { zeit(d, z, t); });
        EXPECT_EQ(objects(*session_) == objekte, ergebnis == kAbbruch);
        EXPECT_EQ(leistung->Sekunden(), nachher);
        EXPECT_EQ(idle(), leer + vorher - nachher);
        EXPECT_EQ(row(leistung->Id()).has_value(), ergebnis != kGeloescht);
        pruefeSalden();
    }
    // Only the last refusal drew on more idle time than there was.
    const QString meldung = QStringLiteral(
        "Differenz aus bisheriger Zeit und neuer Zeit (02:00:00) ist größer als Leerlaufzeit (%1)");
    EXPECT_EQ(meldungen(), QStringList(meldung.arg(session_->LeerlaufZeitText())));
}

// Cancelled after changing order, time and a text line, nothing changes at all. At OK the text
// lines change: edited, added (any characters, any length, a standard text's number becoming
// its text on Enter), and a line emptied goes from the database as well, so the next start does
// not bring it back (the lines are read as the loader reads them). The entry goes to the other
// order with its seconds; its stopwatch, running meanwhile, keeps counting on an entry of its
// own.
TEST_P(EditDialogTest, TextLinesAndOrderChangeAtOkOnly) {
    const auto auftrag = workedOn(5001, 1800);
    const auto leistung = first(*auftrag);
    leistung->StandardTextSetzen(QStringLiteral("Belege"));
    leistung->TextHinzufuegen(0, QStringLiteral("Abstimmung"));
    leistung->Speichern(false);
    switchTo(auftrag->Key());
    const QString vorher = objects(*session_);
    bearbeite(*leistung, kAbbruch, [&](FrmLeistungDialog& d) {
        waehleAuftrag(d, 5003);
        zeit(d, "000100");
        zeile(d, 0, QStringLiteral("Rechnung"));
        klick(d, "ctlCancel");
    });
    EXPECT_EQ(objects(*session_), vorher);
    const QString lang = QStringLiteral("Prüfung \"Ä\\Ö\" 'ß'; DROP TABLE x; ") +
                         QString(280, QLatin1Char('x')) + QStringLiteral("Ende");
    bearbeite(*leistung, kGeaendert, [&](FrmLeistungDialog& d) {
        zeile(d, 0, {});
        zeile(d, 1, QStringLiteral("Abstimmung Bank"));
        zeile(d, 2, lang);
        zeile(d, 3, QStringLiteral("11"));
        test::press(&d, QStringLiteral("nach{Return}"));
        waehleAuftrag(d, 5003);
        klick(d, "ctlOk");
    });
    EXPECT_EQ(textLines(leistung->Id()),
              (QStringList{QStringLiteral("Abstimmung Bank"), lang,
                           QStringLiteral("Abstimmung der Konten nach")}));
    EXPECT_EQ(leistung->Auftrag().AuftragId(), 5003);
    // The order's stopwatch, running meanwhile, counts on a new entry of its own.
    tick(60);
    EXPECT_EQ(auftrag->Sekunden(), 60);
    pruefeSalden();
}

// A new entry needs an order and a time; it takes its time from the idle time.
TEST_P(EditDialogTest, ANewEntryNeedsAnOrderAndATime) {
    QString auftragKey, leistungKey;
    std::int32_t sekunden = 0;
    im<FrmLeistungDialog>(
        [&] { return session_->LeistungErzeugen(auftragKey, leistungKey, sekunden); }, kGeaendert,
        [&](FrmLeistungDialog& d) {
            zeit(d, "002000", QStringLiteral("{Return}"));  // refused: no order yet
            waehleAuftrag(d, 5003);
            zeit(d, "000000", QStringLiteral("{Return}"));
            zeit(d, "002000", QStringLiteral("{Return}"));
        });
    EXPECT_EQ(meldungen().join(QLatin1Char('|')),
              QStringLiteral("Bitte geben Sie den Auftrag der neuen Leistung an.|Bitte geben Sie "
                             "die Zeit der neuen Leistung an; 00:00:00 ist keine Zeit."));
    // The only order's 1200 seconds: the balance holds them taken from the idle time.
    EXPECT_EQ(session_->AuftragZuAuftragId(5003)->Sekunden(), 1200);
    pruefeSalden();
}

// The day closing books the idle entry's own time on the order the employee picks, also when
// the window is closed by its frame (on the office's order then); Cancel lets the day go on and
// keeps the office's setting.
TEST_P(EditDialogTest, TheDayClosingBooksOnTheChosenOrderOrLetsTheDayGoOn) {
    constexpr std::int32_t kBisher = office::demo::kUnproductiveTimeOrder;
    // The button ("": closed by the window's frame); the order the idle time was booked on (0:
    // the day goes on).
    const std::pair<const char*, std::int32_t> faelle[] = {
        {"ctlCancel", 0}, {"", kBisher}, {"ctlOk", 5003}};
    for (const auto& f : faelle) {
        const std::int32_t leer = idle();
        im<FrmLeistungDialog>([&] { return session_->Beenden(); }, f.second != 0,
                              [&](FrmLeistungDialog& d) {
                                  // Picked and confirmed by the button, or nothing picked.
                                  *f.first != 0 ? (waehleAuftrag(d, 5003), klick(d, f.first))
                                                : void(d.close());
                              });
        EXPECT_EQ(gateway().OptionsWertErmitteln(2),
                  QString::number(f.second != 0 ? f.second : kBisher));
        EXPECT_EQ(rowsOf().empty(), f.second != 0);
        if (f.second == 0) {
            EXPECT_EQ(idle(), leer);
            expectBalanced();
            continue;
        }
        EXPECT_EQ(services().split(QLatin1Char('\n')).last().section(QLatin1Char('|'), 0, 1),
                  QStringLiteral("%1|%2").arg(f.second).arg(qRound(leer / 0.36)));
        restart();
        tick(1800);
    }
}

ORV_INSTANTIATE_FOR_BACKENDS(EditDialogTest);

}  // namespace
}  // namespace orv::ui
