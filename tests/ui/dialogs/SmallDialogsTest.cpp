#include "DialogTestSupport.h"

namespace orv::ui {
namespace {

using platform::MsgAnswer;

// The session started at 08:00 and counted an hour on the idle stopwatch.
class SmallDialogsTest : public test::DialogTest {};

// Each change of a field checks the period: the hint appears while typing. A refused period
// cannot be confirmed, not even by Enter; Escape cancels. A valid one is confirmed with Enter
// after the question (answered No the first time), and its seconds are idle time and a login of
// kind 1. An earlier session of the day logged 06:00-06:30; the current login began at 08:00.
// What the window found free may then be taken by another workstation before OK: the session
// checks again and records nothing. A database failure at any statement of the step leaves
// neither the login nor the seconds; done again, the step records both once, also after a
// restart.
TEST_P(SmallDialogsTest, ExternalTimeIsCheckedAtEveryChangeAndWrittenWholeOrNotAtAll) {
    const auto heute = [](int h, int m) { return QDateTime(QDate(2026, 3, 16), QTime(h, m)); };
    gateway().LoginErstellen(heute(6, 0), heute(6, 30), 0);
    const QString ueberschneidung = QStringLiteral(
        "Der angegebene Zeitraum überschneidet sich mit einem bereits vorhandenen Login");
    const std::pair<const char*, QString> perioden[] = {
        {"0700{Tab}0700", QStringLiteral("Endzeit muss größer als Startzeit sein.")},
        {"0730{Tab}0830", QStringLiteral("Zunkünftige Zeiten können nicht erfasst werden.")},
        {"0615{Tab}0645", ueberschneidung},
        {"0700{Tab}0730", QString()},
    };
    std::int32_t sekunden = -1;
    QDateTime von, bis;
    for (const auto& p : perioden) {
        const std::int32_t leerlauf = idle();
        const bool gueltig = p.second.isEmpty();
        if (gueltig) {
            platform_->messageBoxes().answer(MsgAnswer::No);
            platform_->messageBoxes().answer(MsgAnswer::Yes);
        }
        test::whenModal<FrmExterneZeitDialog>([&](FrmExterneZeitDialog& dialog) {
            test::press(&dialog, p.first);
            EXPECT_EQ(anzeige(dialog, "lblHinweis"), p.second);
            test::press(&dialog, QStringLiteral("{Return}"));
            EXPECT_TRUE(dialog.isVisible());
            test::press(&dialog, gueltig ? QStringLiteral("{Return}") : QStringLiteral("{Escape}"));
        });
        EXPECT_EQ(session_->ExterneZeitErfassen(sekunden, von, bis), gueltig ? 1 : 2);
        EXPECT_EQ(sekunden, gueltig ? 1800 : 0);
        counted_ += sekunden;
        EXPECT_EQ(idle(), leerlauf + sekunden);
        EXPECT_EQ(logins(), gueltig ? "06:00:00-06:30:00/0 07:00:00-07:30:00/1 08:00:00-/0"
                                    : "06:00:00-06:30:00/0 08:00:00-/0");
    }
    const QString frage = QStringLiteral(
        "Die eingegebene Zeit wird sofort zur unproduktiven Zeit addiert und in die "
        "Mitarbeiterzeiten übernommen.\nBei Abbruch der Erfassung der neuen Leistung wird "
        "dieser Vorgang NICHT rückgängig gemacht.\nMöchten Sie trotzdem fortfahren?");
    EXPECT_EQ(meldungen(), QStringList(2, frage)) << "asked for the valid period only";

    test::whenModal<FrmExterneZeitDialog>([&](FrmExterneZeitDialog& dialog) {
        test::press(&dialog, QStringLiteral("0730{Tab}0750"));
        gateway().LoginErstellen(heute(7, 35), heute(7, 45), 0);
        test::press(&dialog, QStringLiteral("{Return}"));
    });
    const auto fehler = test::failureOf([&] { session_->ExterneZeitErfassen(sekunden, von, bis); });
    EXPECT_EQ(fehler ? fehler->description() : QString(), ueberschneidung);
    const QString vorher = logins();
    const std::int32_t leer = idle();
    const std::int32_t gespeichert = row(session_->LeerlaufAuftrag().Id())->sekunden;
    platform_->qtWindows().FrmExterneZeit = nullptr;
    for (int k = 1;; ++k) {
        SCOPED_TRACE(testing::Message() << "statement " << k);
        platform_->frmExterneZeit().accept(heute(6, 30), heute(7, 0));
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
        EXPECT_EQ(idle(), leer);
        EXPECT_EQ(row(session_->LeerlaufAuftrag().Id())->sekunden, gespeichert);
        EXPECT_EQ(logins(), vorher);
    }
    counted_ += 1800;
    EXPECT_EQ(idle(), leer + 1800);
    EXPECT_EQ(logins(),
              QStringLiteral("06:00:00-06:30:00/0 06:30:00-07:00:00/1 07:00:00-07:30:00/1 "
                             "07:35:00-07:45:00/0 08:00:00-/0"));
    pruefeSalden();
    restart();
    expectBalanced();
}

// The idle booking order belongs to the whole office, as the question says: a changed order is
// written only after the employee confirmed it; No (and Cancel) or a failed write leave the
// session and the office on the order they had; confirmed again, it is written.
TEST_P(SmallDialogsTest, ThePropertiesAskBeforeChangingTheOfficesIdleOrder) {
    for (const int fall : {0, 1, 2}) {  // No; Yes, but the write fails; Yes
        platform_->messageBoxes().answer(fall == 0 ? MsgAnswer::No : MsgAnswer::Yes);
        test::whenModal<FrmEigenschaftenDialog>([&](FrmEigenschaftenDialog& dialog) {
            waehleAuftrag(dialog, 5002);
            if (fall == 1) {
                faults().failStatement(1);
            }
            test::press(&dialog, QString::fromLatin1(fall == 0 ? "{Return}{Escape}" : "{Return}"));
        });
        EXPECT_EQ(test::failureOf([&] { session_->Eigenschaftenanzeigen(); }).has_value(),
                  fall == 1);
        faults().clear();
        const std::int32_t gespeichert = fall == 2 ? 5002 : office::demo::kUnproductiveTimeOrder;
        EXPECT_EQ(session_->LeerlaufBuchungsAuftrag(), gespeichert);
        EXPECT_EQ(gateway().OptionsWertErmitteln(2), QString::number(gespeichert));
    }
    const QString frage = QStringLiteral(
        "Dieser Auftrag gilt für die ganze Kanzlei: Auf ihn wird beim Tagesabschluss die "
        "unproduktive Zeit aller Mitarbeiter gebucht.\nSoll die unproduktive Zeit künftig auf den "
        "gewählten Auftrag gebucht werden?");
    EXPECT_EQ(meldungen(), QStringList(3, frage));
}

ORV_INSTANTIATE_FOR_BACKENDS(SmallDialogsTest);

}  // namespace
}  // namespace orv::ui
