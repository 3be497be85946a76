#include "DialogTestSupport.h"

#include "persistence/FaultInjector.h"
#include "ui/dialogs/LeistungenModel.h"
#include "ui/dialogs/frmLeistung.h"
#include "ui/dialogs/frmLeistungUmbuchen.h"

#include <QLabel>
#include <QRadioButton>
#include <QTableView>

namespace orv::ui {
namespace {

using test::outcome::kGeaendert;
using test::outcome::kGeloescht;
using Employee = std::function<void(FrmLeistungUmbuchenDialog&)>;

const QString kGeloeschtMeldung =
    QStringLiteral("Gesamte Zeit der Herkunfts-Leistung wurde umgebucht. Leistung wird gelöscht.");

// The rebooking window over a session with an hour of idle time; the edit window it opens for
// a new entry is the real one too.
class RebookingDialogTest : public test::DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        platform_->qtWindows().FrmLeistungUmbuchen = [this] {
            return std::make_unique<FrmLeistungUmbuchenDialog>(*platform_);
        };
        platform_->qtWindows().FrmLeistung = [this] {
            return std::make_unique<FrmLeistungDialog>(*platform_);
        };
    }
    // The rebooking of the entry, or of the idle time without one.
    std::int32_t umbuchen(const cLeistung* quelle, Employee employee) {
        return im<FrmLeistungUmbuchenDialog>(std::move(employee), [&] {
            QString auftragKey =
                quelle != nullptr ? quelle->Auftrag().Key() : CAuftrag::LeerlaufKey();
            return session_->LeistungUmbuchen(auftragKey,
                                              quelle != nullptr ? quelle->Key() : QString());
        });
    }
    static void waehleZiel(const QWidget& d, const cLeistung& ziel) {
        auto* grid = test::child<QTableView>(d, "grdLeistungen");
        const auto* model = static_cast<const LeistungenModel*>(grid->model());
        const int row = model->zeile(ziel.Key());
        ASSERT_GE(row, 0) << "the target is offered";
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(model->index(row, LeistungenModel::Mandant)).center());
    }
    static bool okAn(const QWidget& d) { return test::child<QWidget>(d, "ctlOk")->isEnabled(); }
    static QString hinweis(const QWidget& d) {
        const auto* label = test::child<QLabel>(d, "lblHinweis");
        return label->isVisible() ? label->text() : QString();
    }
    void pruefeSalden() {
        expectBalanced();
        expectRowsMatchObjects();
    }
};

// Idle time onto an entry, once per OK; then the entry's whole time back to the idle time,
// which deletes the entry, also from the entries released for booking.
TEST_P(RebookingDialogTest, IdleTimeOntoAnEntryAndItsWholeTimeBack) {
    const auto leistung = first(*workedOn(5001, 1800));
    ASSERT_TRUE(release(*leistung));
    const std::int32_t leer = idle();
    const std::int32_t produktiv = session_->AuftragsSekunden();
    EXPECT_EQ(umbuchen(nullptr,
                       [&](auto& d) {
                           EXPECT_FALSE(test::child<QWidget>(d, "optUmbuchenAuf0")->isVisible());
                           zeit(d, "001000");
                           EXPECT_FALSE(okAn(d)) << "no target chosen yet";
                           waehleZiel(d, *leistung);
                           ASSERT_TRUE(okAn(d));
                           klick(d, "ctlOk");
                           EXPECT_FALSE(okAn(d))
                               << "the amount is moved; a second OK moves nothing";
                           test::press(&d, QStringLiteral("{Return}"));
                           EXPECT_EQ(test::child<QLineEdit>(d, "txtZeit")->text(),
                                     QStringLiteral("00:00:00"));
                           klick(d, "ctlCancel");
                       }),
              kGeaendert);
    EXPECT_EQ(leistung->Sekunden(), 2400);
    EXPECT_EQ(idle(), leer - 600);
    EXPECT_EQ(session_->AuftragsSekunden(), produktiv + 600);
    pruefeSalden();

    EXPECT_EQ(
        umbuchen(leistung.get(),
                 [&](auto& d) {
                     EXPECT_TRUE(test::child<QRadioButton>(d, "optUmbuchenAuf0")->isChecked());
                     QTest::mouseClick(test::child<QRadioButton>(d, "optUmbuchenAuf1"),
                                       Qt::LeftButton);
                     EXPECT_FALSE(test::child<QWidget>(d, "grdLeistungen")->isEnabled());
                     test::press(&d, QStringLiteral("{Return}"));
                 }),
        kGeloescht);
    EXPECT_EQ(meldungen(), QStringList{kGeloeschtMeldung});
    EXPECT_EQ(idle(), leer + 1800);
    EXPECT_EQ(session_->AuftragsSekunden(), produktiv - 1800);
    EXPECT_FALSE(row(leistung->Id()).has_value());
    EXPECT_EQ(session_->FreigegebeneLeistungen()->Count(), 0);
    pruefeSalden();
}

struct Betrag {
    const char* name;
    const char* getippt;
    bool ok;
    const char* hinweis;
};

// Between two entries: at least a second and at most the source's time; what is refused moves
// nothing.
TEST_P(RebookingDialogTest, BetweenEntriesAtLeastASecondAndAtMostTheSource) {
    const auto quelle = first(*workedOn(5001, 600));
    const auto ziel = first(*workedOn(5003, 900));
    const Betrag faelle[] = {
        {"MoreThanTheSource", "001001", false, "Umzubuchende Zeit ist größer als bisherige Zeit"},
        {"Zero", "000000", false, ""},
        {"FiveMinutes", "000500", true, ""},
    };
    for (const Betrag& f : faelle) {
        SCOPED_TRACE(f.name);
        EXPECT_EQ(umbuchen(quelle.get(),
                           [&](auto& d) {
                               waehleZiel(d, *ziel);
                               zeit(d, QString::fromLatin1(f.getippt));
                               EXPECT_EQ(hinweis(d), QString::fromUtf8(f.hinweis));
                               EXPECT_EQ(okAn(d), f.ok);
                               klick(d, "ctlOk");
                               klick(d, "ctlCancel");
                           }),
                  f.ok ? kGeaendert : test::outcome::kAbbruch);
    }
    EXPECT_EQ(quelle->Sekunden(), 300);
    EXPECT_EQ(ziel->Sekunden(), 1200);
    EXPECT_EQ(row(ziel->Id())->sekunden, 1200);
    pruefeSalden();
}

// Onto a new entry: the edit window may lower the time; the source gives exactly what the new
// entry received, and idle time raises the productive total once.
TEST_P(RebookingDialogTest, OntoANewEntryTheSourceGivesWhatTheEntryReceived) {
    const std::int32_t leer = idle();
    const auto neueLeistung = [&](FrmLeistungUmbuchenDialog& d, std::int32_t auftragId,
                                  const QString& zeitNeu) {
        test::whenModal<FrmLeistungDialog>([&, auftragId, zeitNeu](FrmLeistungDialog& e) {
            platform_->orderBrowser().answer(std::vector<std::int32_t>{auftragId});
            werkzeug(e, "mnuAuftrag");
            zeit(e, zeitNeu, "{Return}");
        });
        // By keyboard: the edit window opens from inside the button's key press.
        auto* knopf = test::child<QWidget>(d, "ctlNeueLeistung");
        knopf->setFocus(Qt::TabFocusReason);
        test::press(knopf, QStringLiteral("{Space}"));
    };
    EXPECT_EQ(umbuchen(nullptr,
                       [&](auto& d) {
                           zeit(d, "001000");
                           neueLeistung(d, 5003, QStringLiteral("000800"));  // of 10 minutes
                           klick(d, "ctlCancel");
                       }),
              kGeaendert);
    const auto neue = first(*session_->AuftragZuAuftragId(5003));
    EXPECT_EQ(neue->Sekunden(), 480);
    EXPECT_EQ(idle(), leer - 480);
    EXPECT_EQ(session_->AuftragsSekunden(), 480);
    pruefeSalden();

    // The step fails at its last statement, the source's deletion: nothing of it stays, the
    // window stays open, and the same rebooking done again works.
    faults().failStatementsContaining("DELETE from tLeistungZeiterfassung");
    const QString vorher = objects(*session_);
    EXPECT_EQ(umbuchen(neue.get(),
                       [&](auto& d) {
                           zeit(d, "000800");
                           neueLeistung(d, 5001, QStringLiteral("000800"));
                           EXPECT_TRUE(d.isVisible());
                           klick(d, "ctlCancel");
                       }),
              test::outcome::kAbbruch);
    EXPECT_FALSE(platform_->errorReports().empty());
    EXPECT_EQ(objects(*session_), vorher);
    pruefeSalden();
    faults().clear();

    // All of an entry's time onto a new one: the source goes.
    EXPECT_EQ(umbuchen(neue.get(),
                       [&](auto& d) {
                           zeit(d, "000800");
                           neueLeistung(d, 5001, QStringLiteral("000800"));
                       }),
              kGeloescht);
    EXPECT_EQ(meldungen(), QStringList{kGeloeschtMeldung});
    EXPECT_EQ(first(*session_->AuftragZuAuftragId(5001))->Sekunden(), 480);
    EXPECT_EQ(session_->AuftragsSekunden(), 480);
    EXPECT_EQ(idle(), leer - 480);
    pruefeSalden();
}

ORV_INSTANTIATE_FOR_BACKENDS(RebookingDialogTest);

}  // namespace
}  // namespace orv::ui
