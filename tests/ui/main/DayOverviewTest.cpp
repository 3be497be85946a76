#include "main/StopwatchWindowSupport.h"

#include "ui/main/DayOverviewWindow.h"

#include <QFile>
#include <QTableWidget>
#include <QTemporaryDir>

namespace orv::ui {
namespace {

// The employee's day, seen in the overview the stopwatch window opens with Ctrl+T.
class DayOverviewTest : public test::StoppuhrFenster<test::SessionTest> {
public:
    DayOverviewTest() : StoppuhrFenster(false) {}
};

// The totals table as the employee reads it, a line per row.
QString tabelle(DayOverviewWindow& u) {
    auto* t = test::child<QTableWidget>(u, "grdSummen");
    QStringList zeilen;
    for (int r = 0; r < t->rowCount(); ++r) {
        QStringList zellen;
        for (int c = 0; c < t->columnCount(); ++c) {
            zellen << t->item(r, c)->text();
        }
        zeilen << zellen.join(QLatin1Char('|'));
    }
    return zeilen.join(QLatin1Char('\n'));
}

// The CSV of a small day, byte for byte; a cancelled choice and a file that cannot be written
// write nothing and the latter says why. Then every statement of a refresh in turn fails: the
// day shown before stays, no second is lost or counted twice, and the refresh after shows the
// seconds counted meanwhile.
TEST_P(DayOverviewTest, CsvOfASmallDayAndARefreshFailingHalfWayKeepsTheDayShown) {
    execute(
        QStringLiteral("UPDATE tPersonStamm SET Ps_Kurzname = 'Öztürk; \"Ümit\"' "
                       "WHERE Ps_Id = 108"));
    oeffnen();
    tick(600);
    workedOn(4904, 2700);
    tick(300);
    QTest::keyClick(window_, Qt::Key_T, Qt::ControlModifier);
    auto* u = window_->findChild<DayOverviewWindow*>();
    ASSERT_TRUE(u != nullptr && u->isVisible() && !u->isModal());
    QTemporaryDir ordner;
    const QString fehlt = ordner.filePath(QStringLiteral("fehlt/tag.csv"));
    const QString datei = ordner.filePath(QStringLiteral("tag.csv"));
    platform_->messageBoxes().answer(platform::MsgAnswer::Ok);
    for (const QString& wahl : {QString(), fehlt, datei}) {
        u->setDateiWahl([&](QWidget&, const QString& titel, const QString& vorschlag) {
            EXPECT_EQ(titel, QStringLiteral("Tagesübersicht als CSV exportieren"));
            EXPECT_TRUE(vorschlag.endsWith(QStringLiteral("Tagesuebersicht-2026-03-16.csv")));
            return wahl;
        });
        EXPECT_EQ(u->CsvExportieren(), wahl == datei);
    }
    EXPECT_FALSE(QFile::exists(fehlt));
    ASSERT_EQ(platform_->messageBoxes().asked().size(), 1u);
    EXPECT_TRUE(platform_->messageBoxes().asked()[0].text.startsWith(
        QStringLiteral("Die Datei „%1“ konnte nicht geschrieben werden:\n").arg(fehlt)));
    QFile f(datei);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(
        f.readAll(),
        "\xEF\xBB\xBF" + QStringLiteral("Art;Mandant;Auftrag;Beginn;Ende;Sekunden;Stunden\r\n"
                                        "Anmeldung;;;16.03.2026 08:00:00;;3600;1,00\r\n"
                                        "Leerlauf;;;;;900;0,25\r\n"
                                        "vorläufige Leistung;\"10008 Öztürk; \"\"Ümit\"\"\";"
                                        "40/401 Einkommensteuererklärung 12/2025;"
                                        "16.03.2026 08:10:00;16.03.2026 08:55:00;2700;0,75\r\n"
                                        "Summe Auftrag;\"10008 Öztürk; \"\"Ümit\"\"\";"
                                        "40/401 Einkommensteuererklärung 12/2025;;;2700;0,75\r\n"
                                        "Summe Leerlauf;;;;;900;0,25\r\n"
                                        "Summe produktiv;;;;;2700;0,75\r\n"
                                        "Gesamt;;;;;3600;1,00\r\n")
                             .toUtf8());

    const QString vorher = tabelle(*u);
    tick(60);
    std::size_t fehler = 0;
    for (faults().failStatement(1); fehler < 50 && !u->Aktualisieren();
         faults().failStatement(int(++fehler) + 1)) {
        faults().clear();
        EXPECT_EQ(tabelle(*u), vorher) << fehler;
        pruefeSalden();
    }
    faults().clear();
    EXPECT_GE(fehler, 5U) << "a save and four reads";
    EXPECT_EQ(platform_->errorReports().size(), fehler);
    EXPECT_EQ(tabelle(*u),
              "10008 Öztürk; \"Ümit\"|40/401 Einkommensteuererklärung 12/2025|00:45:00|00:00:00|"
              "00:45:00\nLeerlauf|unproduktive Zeit|||00:16:00\n"
              "aktiv|produktive Zeit|00:45:00|00:00:00|00:45:00\nGesamt||||01:01:00");
}

ORV_INSTANTIATE_FOR_BACKENDS(DayOverviewTest);

}  // namespace
}  // namespace orv::ui
