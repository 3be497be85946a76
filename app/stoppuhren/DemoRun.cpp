#include "stoppuhren/DemoRun.h"

#include "ORVkStoppUhren/CStoppUhren.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>

#include <cstdio>

namespace orv::stoppuhren {

namespace {

// The demo morning starts three hours before now, so that it ends before the present and a
// program started afterwards on the same database finds a finished morning.
constexpr qint64 kMorgenVorJetzt = 3 * 3600;

// A window with texts, icons and a red label has far more colours than this; a blank or
// single-coloured picture has one or two.
constexpr int kMindestFarben = 16;

int farben(const QImage& bild) {
    QSet<QRgb> gesehen;
    for (int y = 0; y < bild.height(); y += 2) {
        for (int x = 0; x < bild.width(); x += 2) {
            gesehen.insert(bild.pixel(x, y));
        }
    }
    return static_cast<int>(gesehen.size());
}

void say(const QString& text) {
    std::printf("%s\n", qPrintable(text));
    std::fflush(stdout);
}

// Lets the event loop run: clock ticks arrive, windows paint.
void warte(int ms) {
    const QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

class Skript {
public:
    Skript(QWidget& fenster, DemoClock& clock) : fenster_(fenster), clock_(clock) {}

    template <typename W>
    W* teil(const char* name) {
        auto* widget = fenster_.findChild<W*>(QString::fromLatin1(name));
        if (widget == nullptr) {
            throw QStringLiteral("Im Stoppuhrfenster fehlt %1.").arg(QString::fromLatin1(name));
        }
        return widget;
    }
    void klick(const char* name) {
        auto* button = teil<QPushButton>(name);
        if (!button->isEnabled()) {
            throw QStringLiteral("%1 ist nicht freigegeben.").arg(button->text());
        }
        say(QStringLiteral("  klickt „%1“").arg(button->text().remove(QLatin1Char('&'))));
        button->click();
        warte(200);
    }
    // Types into a field of the order control as over its whole text.
    void tippe(const char* feld, const QString& text) {
        auto* edit = teil<QWidget>(feld)->findChild<QLineEdit*>();
        if (edit == nullptr) {
            throw QStringLiteral("%1 hat kein Eingabefeld.").arg(QString::fromLatin1(feld));
        }
        edit->setFocus(Qt::TabFocusReason);
        edit->selectAll();
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(edit, &press);
            QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(edit, &release);
        }
    }
    // A new order as the employee types its key: client number, kind/matter, period.
    void neuerVorgang(const QString& mandant, const QString& angelegenheit, int monat, int jahr) {
        klick("ctlNeuerAuftrag");
        tippe("ctlMandant", mandant);
        tippe("ctlAufArtAng", angelegenheit);
        auto* termin = teil<QWidget>("ctlTermin")->findChild<QDateEdit*>();
        termin->setFocus(Qt::TabFocusReason);
        termin->setDate(QDate(jahr, monat, 1));
        // Leaving the control takes the key.
        teil<QTableView>("grdAuftraege")->setFocus(Qt::TabFocusReason);
        warte(200);
        say(QStringLiteral("  tippt Auftrag %1 %2 %3/%4")
                .arg(mandant, angelegenheit)
                .arg(monat)
                .arg(jahr));
    }
    void arbeite(qint64 minuten) {
        clock_.advance(minuten * 60);
        say(QStringLiteral("  … %1 Minuten später").arg(minuten));
        warte(1300);  // one tick of the stopwatch
    }
    void tab(int index) {
        teil<QTabWidget>("tabStoppUhr")->setCurrentIndex(index);
        warte(200);
    }
    // Clicks the first row of the grid whose column `spalte` shows `text`.
    void zeile(const char* grid, int spalte, const QString& text) {
        auto* view = teil<QTableView>(grid);
        QAbstractItemModel* model = view->model();
        for (int r = 0; r < model->rowCount(); ++r) {
            const QModelIndex index = model->index(r, spalte);
            if (model->data(index).toString().contains(text)) {
                view->setFocus(Qt::MouseFocusReason);
                view->setCurrentIndex(index);
                view->selectRow(r);
                warte(200);
                return;
            }
        }
        throw QStringLiteral("Keine Zeile mit „%1“.").arg(text);
    }
    // On a real display the picture is what the X server shows; offscreen, what Qt paints.
    void bild(const QString& datei, QWidget* anderes = nullptr) {
        QWidget& ziel = anderes != nullptr ? *anderes : fenster_;
        warte(300);
        QPixmap pixmap;
        if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
            pixmap = ziel.grab();
        } else {
            const QRect rahmen = ziel.frameGeometry();
            pixmap = ziel.screen()->grabWindow(0, rahmen.x(), rahmen.y(), rahmen.width(),
                                               rahmen.height());
        }
        speichern(pixmap, datei);
    }
    // The tray's sign with its menu open, as the X server shows that corner of the screen.
    // Without a tray (offscreen, a desktop without one) there is none to show.
    void trayBild(const QString& datei) {
        auto* icon = fenster_.findChild<QSystemTrayIcon*>();
        if (icon == nullptr || !icon->isVisible() || icon->contextMenu() == nullptr) {
            say(QStringLiteral("  kein Infobereich auf diesem Bildschirm: kein Bild von ihm"));
            return;
        }
        warte(300);
        QMenu& menu = *icon->contextMenu();
        const QRect zeichen = icon->geometry();
        menu.popup(zeichen.bottomLeft());
        warte(300);
        const QRect bereich =
            (zeichen | menu.geometry()).adjusted(-24, -4, 24, 24) & fenster_.screen()->geometry();
        const QPixmap pixmap = fenster_.screen()->grabWindow(0, bereich.x(), bereich.y(),
                                                             bereich.width(), bereich.height());
        menu.close();
        speichern(pixmap, datei);
    }
    void speichern(const QPixmap& pixmap, const QString& datei) {
        if (farben(pixmap.toImage()) < kMindestFarben) {
            throw QStringLiteral("Das Bild %1 ist leer.").arg(datei);
        }
        if (!pixmap.save(datei)) {
            throw QStringLiteral("Das Bild %1 kann nicht geschrieben werden.").arg(datei);
        }
        say(QStringLiteral("  Bild: %1").arg(datei));
    }
    QString wert(const char* label) { return teil<QLabel>(label)->text(); }
    // The day overview as Ctrl+T opens it: its picture and its totals.
    void tagesuebersicht(const QString& datei) {
        say(QStringLiteral("  öffnet die Tagesübersicht (Strg+T)"));
        teil<QAction>("mnuTagesuebersicht")->trigger();
        warte(300);
        auto* uebersicht = fenster_.findChild<QWidget*>(QStringLiteral("frmTagesuebersicht"));
        auto* summen = uebersicht != nullptr
                           ? uebersicht->findChild<QTableWidget*>(QStringLiteral("grdSummen"))
                           : nullptr;
        if (summen == nullptr || !uebersicht->isVisible()) {
            throw QStringLiteral("Die Tagesübersicht ist nicht zu sehen.");
        }
        bild(datei, uebersicht);
        QStringList zeilen;
        for (int r = 0; r < summen->rowCount(); ++r) {
            zeilen << summen->item(r, 0)->text() + QLatin1Char(' ') + summen->item(r, 4)->text();
        }
        say(QStringLiteral("Die Tagesübersicht: ") + zeilen.join(QStringLiteral(", ")));
        uebersicht->close();
    }

private:
    QWidget& fenster_;
    DemoClock& clock_;
};

QWidget* stoppuhrFenster() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->findChild<QTabWidget*>(QStringLiteral("tabStoppUhr"))) {
            return widget;
        }
    }
    return nullptr;
}

// The column of the client in both grids.
int spalteMit(QTableView* view, const QString& titel) {
    QAbstractItemModel* model = view->model();
    for (int c = 0; c < model->columnCount(); ++c) {
        if (model->headerData(c, Qt::Horizontal).toString() == titel) {
            return c;
        }
    }
    return -1;
}

}  // namespace

DemoClock::DemoClock() : now_(QDateTime::currentDateTime().addSecs(-kMorgenVorJetzt)) {}

DemoAnswers::DemoAnswers() {
    timer_.setInterval(50);
    connect(&timer_, &QTimer::timeout, this, [this] { answer(); });
    timer_.start();
}

void DemoAnswers::answer() {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->isVisible()) {
        return;
    }
    auto* box = qobject_cast<QMessageBox*>(dialog);
    if (box == nullptr) {
        // Any other window (a problem report) is read out and closed.
        QStringList texte;
        for (const QLabel* label : dialog->findChildren<QLabel*>()) {
            texte << label->text();
        }
        say(QStringLiteral("  Fenster „%1“: %2 → geschlossen")
                .arg(dialog->windowTitle(), texte.join(QLatin1Char(' '))));
        dialog->reject();
        return;
    }
    QAbstractButton* button = box->defaultButton();
    if (button == nullptr && !box->buttons().isEmpty()) {
        button = box->buttons().first();
    }
    say(QStringLiteral("  Frage „%1“: %2 → %3")
            .arg(box->windowTitle(), box->text().replace(QLatin1Char('\n'), QLatin1Char(' ')),
                 button != nullptr ? button->text().remove(QLatin1Char('&')) : QString()));
    if (button != nullptr) {
        button->click();
    }
}

bool runDemo(_CStoppUhren& component, DemoClock& clock, const QString& folder) {
    if (!QDir().mkpath(folder)) {
        say(QStringLiteral("Der Ordner %1 kann nicht angelegt werden.").arg(folder));
        return false;
    }
    component.Anzeigen();
    warte(300);
    QWidget* fenster = stoppuhrFenster();
    if (fenster == nullptr) {
        say(QStringLiteral("Das Stoppuhrfenster ist nicht zu sehen."));
        return false;
    }
    fenster->resize(1000, 520);
    Skript s(*fenster, clock);
    try {
        say(QStringLiteral("Ein Vormittag am Stoppuhrfenster:"));
        s.neuerVorgang(QStringLiteral("10001"), QStringLiteral("10/101"), 2, 2026);
        s.arbeite(45);
        s.neuerVorgang(QStringLiteral("10002"), QStringLiteral("20/201"), 1, 2026);
        s.arbeite(30);
        auto* auftraege = s.teil<QTableView>("grdAuftraege");
        const int mandant = spalteMit(auftraege, QStringLiteral("Mandant"));
        s.zeile("grdAuftraege", mandant, QStringLiteral("10001"));
        s.klick("btnStart");
        s.arbeite(20);
        s.trayBild(QDir(folder).filePath(QStringLiteral("stoppuhren-tray.png")));
        s.klick("btnStopp");
        s.arbeite(10);
        s.bild(QDir(folder).filePath(QStringLiteral("stoppuhren-vorgaenge.png")));

        s.zeile("grdAuftraege", mandant, QStringLiteral("10002"));
        s.klick("btnBeenden");
        s.tab(1);
        auto* leistungen = s.teil<QTableView>("grdLeistungen");
        s.zeile("grdLeistungen", spalteMit(leistungen, QStringLiteral("Mandant")),
                QStringLiteral("10002"));
        s.klick("ctlEinzelBuchung");
        s.tab(0);
        s.zeile("grdAuftraege", mandant, QStringLiteral("10001"));
        s.klick("btnBeenden");
        s.tab(1);
        s.bild(QDir(folder).filePath(QStringLiteral("stoppuhren-leistungen.png")));
        s.tab(0);
        s.tagesuebersicht(QDir(folder).filePath(QStringLiteral("stoppuhren-tagesuebersicht.png")));

        say(QStringLiteral("Der Tag bis jetzt: Gesamt %1, Leerlauf %2, aktiv %3")
                .arg(s.wert("lblGesamt"), s.wert("lblLeerlauf"), s.wert("lblAktiv")));
    } catch (const QString& fehler) {
        say(QStringLiteral("Die Vorführung hält an: %1").arg(fehler));
        component.Beenden();
        return false;
    }
    if (!component.Beenden()) {
        say(QStringLiteral("Die Stoppuhren wurden nicht beendet."));
        return false;
    }
    say(QStringLiteral("Stoppuhren beendet."));
    return true;
}

}  // namespace orv::stoppuhren
