#include "WidgetHarness.h"
#include "main/StopwatchWindowSupport.h"
#include "session/SessionTestSupport.h"

#include "ui/main/DayOverviewWindow.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <functional>

namespace orv::ui {
namespace {

// The employee's day, seen in the stopwatch window and in the overview it opens with Ctrl+T.
class DayOverviewTest : public test::SessionTest {
public:
    DayOverviewTest() : SessionTest(false) {}

    void oeffnen() {
        test::echtesStoppuhrFenster(*platform_, window_);
        start();
        test::fensterVorn(window_);
    }
    // Back in the stopwatch window, on either tab, Ctrl+T.
    DayOverviewWindow* uebersicht(int tab = 0) {
        test::showActive(*window_);
        test::child<QTabWidget>(*window_, "tabStoppUhr")->setCurrentIndex(tab);
        QTest::keyClick(window_, Qt::Key_T, Qt::ControlModifier);
        auto* u = window_->findChild<DayOverviewWindow*>();
        EXPECT_TRUE(u != nullptr && u->isVisible() && !u->isModal());
        return u;
    }
    QString label(const char* name) { return test::child<QLabel>(*window_, name)->text(); }
    // The totals table as the employee reads it, a line per row.
    static QString tabelle(DayOverviewWindow& u) {
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
    // The overview's rows "Leerlauf", "aktiv", "Gesamt" against the window's labels.
    void gleichesFenster(DayOverviewWindow& u, const char* schritt) {
        const QStringList zeilen = tabelle(u).split(QLatin1Char('\n'));
        for (const auto& paar : {std::pair{"Leerlauf|", "lblLeerlauf"},
                                 {"aktiv|", "lblAktiv"},
                                 {"Gesamt|", "lblGesamt"}}) {
            const QLatin1String anfang(paar.first);
            const QString summe = QLatin1Char('|') + label(paar.second);
            EXPECT_TRUE(std::any_of(
                zeilen.begin(), zeilen.end(),
                [&](const QString& z) { return z.startsWith(anfang) && z.endsWith(summe); }))
                << schritt << ": " << paar.first << qPrintable(summe) << "\n"
                << qPrintable(zeilen.join(QLatin1Char('\n')));
        }
        EXPECT_EQ(u.tag().leerlauf, idle()) << schritt;
        EXPECT_EQ(u.tag().produktiv(), session_->AuftragsSekunden()) << schritt;
    }
    const AuftragsSumme* summe(const DayOverviewWindow& u, std::int32_t auftragId) {
        for (const AuftragsSumme& a : u.tag().auftraege) {
            if (a.auftragId == auftragId) {
                return &a;
            }
        }
        return nullptr;
    }

    QPointer<StoppUhrWidget> window_;
};

// Every statement of a refresh in turn fails: the day shown before stays, no second is lost or
// counted twice, and the refresh after shows the seconds counted meanwhile.
TEST_P(DayOverviewTest, ARefreshFailingHalfWayKeepsTheDayShownAndEverySecond) {
    oeffnen();
    workedOn(5001, 1200);
    tick(300);
    DayOverviewWindow* u = uebersicht();
    ASSERT_NE(u, nullptr);
    const QString vorher = tabelle(*u);
    tick(60);
    int fehler = 0;
    for (int k = 1; k < 50; ++k) {
        faults().failStatement(k);
        const bool gelesen = u->Aktualisieren();
        faults().clear();
        if (gelesen) {
            break;
        }
        ++fehler;
        EXPECT_EQ(tabelle(*u), vorher) << k;
        expectBalanced();
        expectRowsMatchObjects();
    }
    EXPECT_GE(fehler, 5) << "a save and four reads";
    EXPECT_EQ(platform_->errorReports().size(), static_cast<std::size_t>(fehler));
    gleichesFenster(*u, "danach");
    EXPECT_EQ(u->tag().leerlauf, 360);
}

// The CSV of a small day, byte for byte; a cancelled choice and a file that cannot be written
// write nothing and the latter says why.
TEST_P(DayOverviewTest, CsvOfASmallDayWithDecimalCommaQuotingAndUmlauts) {
    execute(
        QStringLiteral("UPDATE tPersonStamm SET Ps_Kurzname = 'Öztürk; \"Ümit\"' "
                       "WHERE Ps_Id = 108"));
    oeffnen();
    tick(600);
    workedOn(4904, 2700);
    tick(300);
    DayOverviewWindow* u = uebersicht();
    ASSERT_NE(u, nullptr);
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
}

ORV_INSTANTIATE_FOR_BACKENDS(DayOverviewTest);

}  // namespace
}  // namespace orv::ui
