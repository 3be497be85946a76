#include "ui/main/DayOverviewWindow.h"

#include "model/CAuftrag.h"
#include "platform/Clock.h"
#include "platform/MessageBoxes.h"
#include "platform/PlatformFactory.h"
#include "session/CStoppUhren.h"
#include "session/DayOverviewCsv.h"
#include "session/diagnostics/ObjectTrace.h"
#include "session/diagnostics/Procedure.h"
#include "session/runtime/Runtime.h"
#include "ui/controls/OfficeIcons.h"
#include "ui/main/DayTimeline.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollArea>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace orv::ui {
namespace {

const QString kTitel = QStringLiteral("Tagesübersicht");

QString dateiWahlDialog(QWidget& parent, const QString& titel, const QString& vorschlag) {
    return QFileDialog::getSaveFileName(&parent, titel, vorschlag,
                                        QStringLiteral("CSV-Dateien (*.csv)"));
}

QPushButton* knopf(QWidget* parent, const char* name, QAction* action) {
    auto* button = new QPushButton(action->text(), parent);
    button->setObjectName(QString::fromLatin1(name));
    QObject::connect(button, &QPushButton::clicked, action, &QAction::trigger);
    return button;
}

}  // namespace

DayOverviewWindow::DayOverviewWindow(platform::PlatformFactory& platform, CStoppUhren& session,
                                     QWidget* parent)
    : QWidget(parent, Qt::Window),
      platform_(platform),
      session_(&session),
      trace_(std::make_unique<ObjectTrace>(platform, QStringLiteral("frmTagesuebersicht"))),
      dateiWahl_(&dateiWahlDialog),
      lblTag_(new QLabel(this)),
      rollen_(new QScrollArea(this)),
      timeline_(new DayTimeline(this)),
      grdSummen_(new QTableWidget(this)),
      aktualisieren_(new QAction(QStringLiteral("Aktualisieren"), this)),
      exportieren_(new QAction(QStringLiteral("Als CSV exportieren …"), this)) {
    setObjectName(QStringLiteral("frmTagesuebersicht"));
    setWindowTitle(kTitel);
    setOfficeWindowIcon(*this, platform_);
    aktualisieren_->setObjectName(QStringLiteral("mnuAktualisieren"));
    aktualisieren_->setShortcut(QKeySequence::Refresh);
    exportieren_->setObjectName(QStringLiteral("mnuCsvExport"));
    auto* schliessen = new QAction(QStringLiteral("Schließen"), this);
    schliessen->setObjectName(QStringLiteral("mnuSchliessen"));
    schliessen->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(aktualisieren_, &QAction::triggered, this, [this] { Aktualisieren(); });
    connect(exportieren_, &QAction::triggered, this, [this] { CsvExportieren(); });
    connect(schliessen, &QAction::triggered, this, &QWidget::close);

    auto* layout = new QVBoxLayout(this);
    auto* menues = new QMenuBar(this);
    QMenu* menu = menues->addMenu(QStringLiteral("&Tag"));
    menu->addActions({aktualisieren_, exportieren_});
    menu->addSeparator();
    menu->addAction(schliessen);
    addActions({aktualisieren_, schliessen});
    layout->setMenuBar(menues);

    lblTag_->setObjectName(QStringLiteral("lblTag"));
    lblTag_->setTextFormat(Qt::PlainText);
    QFont fett = lblTag_->font();
    fett.setBold(true);
    lblTag_->setFont(fett);
    layout->addWidget(lblTag_);

    rollen_->setWidget(timeline_);
    rollen_->setWidgetResizable(true);
    rollen_->setFrameShape(QFrame::NoFrame);
    rollen_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grdSummen_->setObjectName(QStringLiteral("grdSummen"));
    grdSummen_->setColumnCount(5);
    grdSummen_->setHorizontalHeaderLabels({QStringLiteral("Mandant"), QStringLiteral("Auftrag"),
                                           QStringLiteral("vorläufig"), QStringLiteral("gebucht"),
                                           QStringLiteral("Summe")});
    grdSummen_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdSummen_->setSelectionMode(QAbstractItemView::NoSelection);
    grdSummen_->setFocusPolicy(Qt::NoFocus);
    grdSummen_->verticalHeader()->hide();
    grdSummen_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    layout->addWidget(rollen_);
    layout->addWidget(grdSummen_, 1);

    auto* knoepfe = new QHBoxLayout;
    knoepfe->addWidget(knopf(this, "btnAktualisieren", aktualisieren_));
    knoepfe->addWidget(knopf(this, "btnCsvExport", exportieren_));
    knoepfe->addStretch(1);
    knoepfe->addWidget(knopf(this, "btnSchliessen", schliessen));
    layout->addLayout(knoepfe);
    resize(900, 560);
}

DayOverviewWindow::~DayOverviewWindow() = default;

bool DayOverviewWindow::Aktualisieren() {
    return Procedure(*trace_, "Aktualisieren")
        .report(
            [this] {
                if (session_ == nullptr) {
                    return false;
                }
                // The stopwatch window shows the counting stopwatch's seconds since its last
                // save; the rows get them first, so that both show the same.
                const std::shared_ptr<CAuftrag>& aktuell = session_->AktuellerAuftrag();
                CAuftrag& laufend = session_->AuftragLaeuft() && aktuell != nullptr
                                        ? *aktuell
                                        : session_->LeerlaufAuftrag();
                laufend.Speichern();
                tag_ = TagesuebersichtLesen(*session_, platform_.clock().now().date());
                anzeigen();
                return true;
            },
            false);
}

void DayOverviewWindow::anzeigen() {
    const QLocale deutsch(QLocale::German, QLocale::Germany);
    lblTag_->setText(deutsch.toString(tag_.tag, QStringLiteral("dddd, d. MMMM yyyy")) +
                     QStringLiteral(" – Stand ") + tag_.stand.toString(QStringLiteral("HH:mm:ss")));
    timeline_->setTag(&tag_);
    // Every lane in sight up to a dozen orders; more scroll.
    rollen_->setFixedHeight(std::min(timeline_->minimumSizeHint().height(), 340));
    const int anzahl = static_cast<int>(tag_.auftraege.size());
    grdSummen_->setRowCount(anzahl + 3);
    for (int i = 0; i < anzahl; ++i) {
        const AuftragsSumme& a = tag_.auftraege[static_cast<std::size_t>(i)];
        summenZeile(i, a.mandant, a.auftrag, a.vorlaeufig, a.gebucht, a.sekunden(),
                    DayTimeline::farbe(i), false);
    }
    std::int64_t vorlaeufig = 0;
    std::int64_t gebucht = 0;
    for (const AuftragsSumme& a : tag_.auftraege) {
        vorlaeufig += a.vorlaeufig;
        gebucht += a.gebucht;
    }
    summenZeile(anzahl, QStringLiteral("Leerlauf"), QStringLiteral("unproduktive Zeit"), -1, -1,
                tag_.leerlauf, Qt::red, true);
    summenZeile(anzahl + 1, QStringLiteral("aktiv"), QStringLiteral("produktive Zeit"), vorlaeufig,
                gebucht, tag_.produktiv(), QColor(), true);
    summenZeile(anzahl + 2, QStringLiteral("Gesamt"), QString(), -1, -1, tag_.gesamt(), QColor(),
                true);
    grdSummen_->resizeColumnsToContents();
    grdSummen_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
}

void DayOverviewWindow::summenZeile(int zeile, const QString& mandant, const QString& auftrag,
                                    std::int64_t vorlaeufig, std::int64_t gebucht,
                                    std::int64_t summe, const QColor& farbe, bool fett) {
    // Times as the stopwatch window writes them; a column that does not apply stays empty.
    const auto zeit = [](std::int64_t s) {
        return s < 0 ? QString() : rt::durationText(static_cast<std::int32_t>(s));
    };
    const QString texte[] = {mandant, auftrag, zeit(vorlaeufig), zeit(gebucht), zeit(summe)};
    for (int spalte = 0; spalte < 5; ++spalte) {
        auto* item = new QTableWidgetItem(texte[spalte]);
        if (spalte >= 2) {
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        }
        if (fett) {
            QFont f = item->font();
            f.setBold(true);
            item->setFont(f);
        }
        if (farbe.isValid() && (spalte == 0 || farbe == Qt::red)) {
            item->setForeground(farbe);
        }
        grdSummen_->setItem(zeile, spalte, item);
    }
}

void DayOverviewWindow::Schliessen() {
    session_ = nullptr;
    close();
    // Later: it may be inside one of its own steps (a problem report's loop) right now.
    deleteLater();
}

bool DayOverviewWindow::CsvExportieren() {
    if (!Aktualisieren()) {
        return false;
    }
    const QString vorschlag = QDir::home().filePath(
        QStringLiteral("Tagesuebersicht-%1.csv").arg(tag_.tag.toString(Qt::ISODate)));
    const QString datei =
        dateiWahl_(*this, kTitel + QStringLiteral(" als CSV exportieren"), vorschlag);
    if (datei.isEmpty()) {
        return false;
    }
    // Written aside and renamed at the end: a failure half-way leaves an older file whole.
    QSaveFile ausgabe(datei);
    const QByteArray csv = TagesuebersichtCsv(tag_);
    if (!ausgabe.open(QIODevice::WriteOnly) || ausgabe.write(csv) != csv.size() ||
        !ausgabe.commit()) {
        platform_.messageBoxes().show(
            QStringLiteral("Die Datei „%1“ konnte nicht geschrieben werden:\n%2")
                .arg(QDir::toNativeSeparators(datei), ausgabe.errorString()),
            platform::MsgButtons::OkOnly, platform::MsgIcon::Exclamation, kTitel);
        return false;
    }
    trace_->trace(QStringLiteral("CsvExportieren: ") + datei);
    return true;
}

}  // namespace orv::ui
