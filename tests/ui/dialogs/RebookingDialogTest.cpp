#include "DialogTestSupport.h"

#include "persistence/FaultInjector.h"
#include "ui/dialogs/LeistungenModel.h"

#include <QRadioButton>
#include <QTableView>

namespace orv::ui {
namespace {

using test::outcome::kAbbruch;
using test::outcome::kGeaendert;
using test::outcome::kGeloescht;
using Employee = std::function<void(FrmLeistungUmbuchenDialog&)>;

const QString kGeloeschtMeldung =
    QStringLiteral("Gesamte Zeit der Herkunfts-Leistung wurde umgebucht. Leistung wird gelöscht.");

class RebookingDialogTest : public test::DialogTest {
protected:
    // The rebooking of the entry, or of the idle time without one.
    void umbuchen(const cLeistung* quelle, std::int32_t erwartet, Employee employee) {
        QString auftragKey = quelle != nullptr ? quelle->Auftrag().Key() : CAuftrag::LeerlaufKey();
        const QString leistungKey = quelle != nullptr ? quelle->Key() : QString();
        im<FrmLeistungUmbuchenDialog>(
            [&] { return session_->LeistungUmbuchen(auftragKey, leistungKey); }, erwartet,
            std::move(employee));
    }
    static void waehleZiel(const QWidget& d, const cLeistung& ziel) {
        auto* grid = test::child<QTableView>(d, "grdLeistungen");
        const auto* model = static_cast<const LeistungenModel*>(grid->model());
        const int row = model->zeile(ziel.Key());
        ASSERT_GE(row, 0) << "the target is offered";
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(model->index(row, LeistungenModel::Mandant)).center());
    }
    // "Neue Leistung" by keyboard (the edit window opens from inside the button's key press),
    // where the employee picks the order and sets the time.
    void neueLeistung(FrmLeistungUmbuchenDialog& d, std::int32_t auftragId, const char* zeitNeu) {
        test::whenModal<FrmLeistungDialog>([this, auftragId, zeitNeu](FrmLeistungDialog& e) {
            waehleAuftrag(e, auftragId);
            zeit(e, QString::fromLatin1(zeitNeu), "{Return}");
        });
        auto* knopf = test::child<QWidget>(d, "ctlNeueLeistung");
        knopf->setFocus(Qt::TabFocusReason);
        test::press(knopf, QStringLiteral("{Space}"));
    }
};

// Idle time onto an entry, once per OK; between two entries at least a second and at most the
// source's time, what is refused moving nothing; then the entry's whole time back to the idle
// time, which deletes the entry, also from the entries released for booking.
TEST_P(RebookingDialogTest, OntoAnEntryBetweenEntriesAndTheWholeTimeBack) {
    const auto leistung = first(*workedOn(5001, 1800));
    const auto ziel = first(*workedOn(5003, 900));
    ASSERT_TRUE(release(*leistung));
    umbuchen(nullptr, kGeaendert, [&](auto& d) {
        zeit(d, "001000");
        EXPECT_FALSE(okAn(d)) << "no target chosen yet";
        waehleZiel(d, *leistung);
        ASSERT_TRUE(okAn(d));
        klick(d, "ctlOk");
        EXPECT_FALSE(okAn(d)) << "the amount is moved; a second OK moves nothing";
        test::press(&d, QStringLiteral("{Return}"));
        EXPECT_EQ(test::child<QLineEdit>(d, "txtZeit")->text(), QStringLiteral("00:00:00"));
        klick(d, "ctlCancel");
    });
    // The clock's seconds balance: the idle time gave what the entry received.
    EXPECT_EQ(leistung->Sekunden(), 2400);
    pruefeSalden();

    const struct {
        const char* getippt;
        const char* hinweis;
    } faelle[] = {{"004001", "Umzubuchende Zeit ist größer als bisherige Zeit"},
                  {"000000", ""},
                  {"000500", ""}};
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.getippt);
        const bool gueltig = QLatin1String(f.getippt) == QLatin1String("000500");
        umbuchen(leistung.get(), gueltig ? kGeaendert : kAbbruch, [&](auto& d) {
            waehleZiel(d, *ziel);
            zeit(d, QString::fromLatin1(f.getippt));
            EXPECT_EQ(anzeige(d, "lblHinweis"), QString::fromUtf8(f.hinweis));
            EXPECT_EQ(okAn(d), gueltig);
            klick(d, "ctlOk");
            klick(d, "ctlCancel");
        });
    }
    EXPECT_EQ(leistung->Sekunden(), 2100);
    EXPECT_EQ(ziel->Sekunden(), 1200);
    pruefeSalden();

    umbuchen(leistung.get(), kGeloescht, [&](auto& d) {
        // "vorläufige Leistung" is preselected; the employee takes the idle time instead.
        EXPECT_TRUE(test::child<QRadioButton>(d, "optUmbuchenAuf0")->isChecked());
        klick(d, "optUmbuchenAuf1");
        test::press(&d, QStringLiteral("{Return}"));
    });
    EXPECT_EQ(meldungen(), QStringList{kGeloeschtMeldung});
    EXPECT_FALSE(row(leistung->Id()).has_value());
    EXPECT_EQ(session_->FreigegebeneLeistungen()->Count(), 0);
    pruefeSalden();
}

// Onto a new entry: the edit window may lower the time; the source gives exactly what the new
// entry received, and idle time raises the productive total once. A failure at the step's last
// statement leaves nothing of it and keeps the window open; the step done again works.
TEST_P(RebookingDialogTest, OntoANewEntryTheSourceGivesWhatTheEntryReceived) {
    const std::int32_t leer = idle();
    umbuchen(nullptr, kGeaendert, [&](auto& d) {
        zeit(d, "001000");
        neueLeistung(d, 5003, "000800");
        klick(d, "ctlCancel");
    });
    // The only order's 480 seconds: the balance holds them taken from the idle time.
    const auto neue = first(*session_->AuftragZuAuftragId(5003));
    EXPECT_EQ(neue->Sekunden(), 480);
    pruefeSalden();

    for (const bool scheitert : {true, false}) {
        if (scheitert) {
            faults().failStatementsContaining("DELETE from tLeistungZeiterfassung");
        }
        const QString vorher = objects(*session_);
        umbuchen(neue.get(), scheitert ? kAbbruch : kGeloescht, [&](auto& d) {
            zeit(d, "000800");
            neueLeistung(d, 5001, "000800");
            if (scheitert) {
                EXPECT_TRUE(d.isVisible());
                klick(d, "ctlCancel");
            }
        });
        faults().clear();
        EXPECT_EQ(platform_->errorReports().size(), 1U);
        EXPECT_EQ(objects(*session_) == vorher, scheitert);
        pruefeSalden();
    }
    EXPECT_EQ(meldungen(), QStringList{kGeloeschtMeldung});
    EXPECT_EQ(first(*session_->AuftragZuAuftragId(5001))->Sekunden(), 480);
    EXPECT_EQ(idle(), leer - 480);
}

ORV_INSTANTIATE_FOR_BACKENDS(RebookingDialogTest);

}  // namespace
}  // namespace orv::ui
