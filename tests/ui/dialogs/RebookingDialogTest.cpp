#include "DialogTestSupport.h"

#include "persistence/FaultInjector.h"
#include "ui/dialogs/LeistungenModel.h"

#include <QTableView>

namespace orv::ui {
namespace {

using namespace test::outcome;

class RebookingDialogTest : public test::DialogTest {};

// Idle time onto an entry and between two entries at most the source's time, more refused with
// the hint; each OK moves the amount once. Onto a new entry the edit window may lower the time:
// the source gives exactly what the new entry received, and idle time raises the productive
// total once. An entry's whole time back to the idle time deletes the entry, also from the
// entries released for booking; a failure at the step's last statement leaves nothing of it
// and keeps the window open, and the step done again works.
TEST_P(RebookingDialogTest, SecondsMoveBetweenIdleTimeEntriesAndNewEntries) {
    // The rebooking of the entry, or of the idle time without one.
    const auto umbuchen = [this](const cLeistung* quelle, std::int32_t erwartet,
                                 std::function<void(FrmLeistungUmbuchenDialog&)> employee) {
        QString auftragKey = quelle != nullptr ? quelle->Auftrag().Key() : CAuftrag::LeerlaufKey();
        QString leistungKey = quelle != nullptr ? quelle->Key() : QString();
        im<FrmLeistungUmbuchenDialog>(
            [&] { return session_->LeistungUmbuchen(auftragKey, leistungKey); }, erwartet,
            std::move(employee));
    };
    const auto leistung = first(*workedOn(5001, 1800));
    const auto ziel = first(*workedOn(5003, 900));
    ASSERT_TRUE(release(*leistung));
    // From where, typed, and the hint that refuses it; each OK moves the amount once.
    const std::tuple<const cLeistung*, const char*, const char*> schritte[] = {
        {nullptr, "001000", ""},
        {leistung.get(), "004001", "Umzubuchende Zeit ist größer als bisherige Zeit"},
        {leistung.get(), "000500", ""}};
    for (const auto& [quelle, getippt, hinweis] : schritte) {
        umbuchen(quelle, *hinweis != 0 ? kAbbruch : kGeaendert,
                 [&, q = quelle, t = getippt, h = hinweis](auto& d) {
                     // The target clicked in the list of entries.
                     auto* grid = test::child<QTableView>(d, "grdLeistungen");
                     const auto* model = static_cast<const LeistungenModel*>(grid->model());
                     const QModelIndex i =
                         model->index(model->zeile((q == nullptr ? leistung : ziel)->Key()),
                                      LeistungenModel::Mandant);
                     QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                                       grid->visualRect(i).center());
                     zeit(d, t);
                     EXPECT_EQ(anzeige(d, "lblHinweis"), QString::fromUtf8(h));
                     klick(d, "ctlOk");
                     klick(d, "ctlOk");
                     klick(d, "ctlCancel");
                 });
        pruefeSalden();
    }
    EXPECT_EQ(leistung->Sekunden(), 2100);
    EXPECT_EQ(ziel->Sekunden(), 1200);

    const std::int32_t leer = idle();
    umbuchen(nullptr, kGeaendert, [&](auto& d) {
        zeit(d, "001000");
        // "Neue Leistung" by keyboard: the edit window opens from inside the button's key press.
        test::whenModal<FrmLeistungDialog>([this](FrmLeistungDialog& e) {
            waehleAuftrag(e, 5002);
            zeit(e, "000800", "{Return}");
        });
        test::child<QWidget>(d, "ctlNeueLeistung")->setFocus(Qt::TabFocusReason);
        test::press(&d, QStringLiteral("{Space}"));
        klick(d, "ctlCancel");
    });
    EXPECT_EQ(first(*session_->AuftragZuAuftragId(5002))->Sekunden(), 480);
    EXPECT_EQ(idle(), leer - 480);
    pruefeSalden();

    for (const bool scheitert : {true, false}) {
        if (scheitert) {
            faults().failStatementsContaining("DELETE from tLeistungZeiterfassung");
        }
        const QString vorher = objects(*session_);
        umbuchen(leistung.get(), scheitert ? kAbbruch : kGeloescht, [&](auto& d) {
            klick(d, "optUmbuchenAuf1");  // the idle time instead of "vorläufige Leistung"
            test::press(&d, QString::fromLatin1(scheitert ? "{Return}{Escape}" : "{Return}"));
        });
        faults().clear();
        EXPECT_EQ(platform_->errorReports().size(), 1U);
        EXPECT_EQ(objects(*session_) == vorher, scheitert);
        pruefeSalden();
    }
    EXPECT_EQ(meldungen(), QStringList(QStringLiteral("Gesamte Zeit der Herkunfts-Leistung wurde "
                                                      "umgebucht. Leistung wird gelöscht.")));
    EXPECT_FALSE(row(leistung->Id()).has_value());
    EXPECT_EQ(session_->FreigegebeneLeistungen()->Count(), 0);
}

ORV_INSTANTIATE_FOR_BACKENDS(RebookingDialogTest);

}  // namespace
}  // namespace orv::ui
