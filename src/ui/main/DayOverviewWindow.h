#pragma once

#include "session/DayOverview.h"

#include <QWidget>

#include <functional>
#include <memory>

class QAction;
class QLabel;
class QScrollArea;
class QTableWidget;

namespace orv {
class CStoppUhren;
class ObjectTrace;
}  // namespace orv

namespace orv::platform {
class PlatformFactory;
}

namespace orv::ui {

class DayTimeline;

// "Tagesübersicht": where the employee's day went, as a timeline and the totals per order, the
// idle and the productive time, read from the rows; exported as CSV on request. Not modal: the
// stopwatches count on while it is open, and it shows the day as of its last refresh.
class DayOverviewWindow final : public QWidget {
    Q_OBJECT
public:
    // Asks for the file to write: the chosen path, empty when the employee cancelled.
    using DateiWahl =
        std::function<QString(QWidget& parent, const QString& titel, const QString& vorschlag)>;

    DayOverviewWindow(platform::PlatformFactory& platform, CStoppUhren& session,
                      QWidget* parent = nullptr);
    ~DayOverviewWindow() override;

    // Saves the counting stopwatch (so the rows hold what the stopwatch window shows) and reads
    // the day anew; on a failure the day shown before stays. True when read.
    bool Aktualisieren();
    // Refreshes and writes the day to the file the employee chooses; true when written.
    bool CsvExportieren();
    void setDateiWahl(DateiWahl wahl) { dateiWahl_ = std::move(wahl); }
    // The session ends: the window reads nothing any more and goes.
    void Schliessen();
    const Tagesuebersicht& tag() const { return tag_; }

private:
    void anzeigen();
    void summenZeile(int zeile, const QString& mandant, const QString& auftrag,
                     std::int64_t vorlaeufig, std::int64_t gebucht, std::int64_t summe,
                     const QColor& farbe, bool fett);

    platform::PlatformFactory& platform_;
    CStoppUhren* session_;
    std::unique_ptr<ObjectTrace> trace_;
    Tagesuebersicht tag_;
    DateiWahl dateiWahl_;
    QLabel* lblTag_;
    QScrollArea* rollen_;
    DayTimeline* timeline_;
    QTableWidget* grdSummen_;
    QAction* aktualisieren_;
    QAction* exportieren_;
};

}  // namespace orv::ui
