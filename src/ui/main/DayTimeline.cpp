#include "ui/main/DayTimeline.h"

#include "session/DayOverview.h"

#include <QPainter>

#include <algorithm>
#include <array>

namespace orv::ui {
namespace {

constexpr int kBeschriftung = 190;  // the lanes' names
constexpr int kAchse = 22;          // the hours above the lanes
constexpr int kSpur = 24;
constexpr int kLegende = 26;
constexpr int kRand = 8;
constexpr int kRechts = 28;  // room for the last hour's time

const QColor kAnmeldung(198, 228, 198);
const QColor kExtern(190, 214, 240);
const QColor kPause(170, 170, 170);
const QColor kJetzt(200, 0, 0);

// Where the timeline starts and ends: whole hours around everything drawn, the working hours
// of an empty day.
std::pair<QDateTime, QDateTime> zeitraum(const Tagesuebersicht& t) {
    QDateTime von;
    QDateTime bis;
    const auto erweitern = [&](const QDateTime& a, const QDateTime& b) {
        if (a.isValid() && a.date() == t.tag) {
            von = von.isValid() ? std::min(von, a) : a;
        }
        if (b.isValid() && b.date() == t.tag) {
            bis = bis.isValid() ? std::max(bis, b) : b;
        }
    };
    for (const TagesBand& b : t.baender) {
        erweitern(b.beginn, b.ende);
    }
    for (const TagesPosten& p : t.posten) {
        erweitern(p.von, p.bis);
    }
    if (!von.isValid() || !bis.isValid()) {
        return {QDateTime(t.tag, QTime(8, 0)), QDateTime(t.tag, QTime(17, 0))};
    }
    von = QDateTime(t.tag, QTime(von.time().hour(), 0));
    bis = bis.time().minute() == 0 && bis.time().second() == 0
              ? bis
              : QDateTime(t.tag, QTime(bis.time().hour(), 0)).addSecs(3600);
    if (von.secsTo(bis) < 3600) {
        bis = von.addSecs(3600);
    }
    return {von, bis};
}

}  // namespace

DayTimeline::DayTimeline(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("picZeitleiste"));
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

void DayTimeline::setTag(const Tagesuebersicht* tag) {
    tag_ = tag;
    updateGeometry();
    update();
}

QColor DayTimeline::farbe(int auftrag) {
    static const std::array<QColor, 8> kFarben{
        QColor(31, 119, 180), QColor(255, 127, 14),  QColor(44, 160, 44),  QColor(148, 103, 189),
        QColor(140, 86, 75),  QColor(227, 119, 194), QColor(188, 189, 34), QColor(23, 190, 207)};
    return kFarben[static_cast<std::size_t>(std::max(auftrag, 0)) % kFarben.size()];
}

int DayTimeline::spuren() const {
    return 1 + (tag_ != nullptr ? static_cast<int>(tag_->auftraege.size()) : 0);
}

QSize DayTimeline::minimumSizeHint() const {
    return {kBeschriftung + 300, kAchse + spuren() * kSpur + kLegende + kRand};
}

QSize DayTimeline::sizeHint() const {
    return minimumSizeHint();
}

void DayTimeline::paintEvent(QPaintEvent*) {
    if (tag_ == nullptr) {
        return;
    }
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, false);
    const std::pair<QDateTime, QDateTime> raum = zeitraum(*tag_);
    const QDateTime& von = raum.first;
    const QDateTime& bis = raum.second;
    const int links = kBeschriftung;
    const int breite = std::max(width() - links - kRechts, 1);
    const double sekunden = static_cast<double>(von.secsTo(bis));
    const auto x = [&](const QDateTime& t) {
        const double anteil = std::clamp(von.secsTo(t) / sekunden, 0.0, 1.0);
        return links + static_cast<int>(anteil * breite);
    };
    const int unten = kAchse + spuren() * kSpur;
    const QColor linie = palette().color(QPalette::Mid);
    const QColor text = palette().color(QPalette::Text);

    // Hours: a line and its time; every second one when they crowd.
    const int stunden = static_cast<int>(von.secsTo(bis) / 3600);
    const int schritt = breite / std::max(stunden, 1) < 40 ? 2 : 1;
    for (int h = 0; h <= stunden; h += schritt) {
        const QDateTime t = von.addSecs(h * 3600);
        p.setPen(linie);
        p.drawLine(x(t), kAchse - 4, x(t), unten);
        p.setPen(text);
        p.drawText(QRect(x(t) - 30, 0, 60, kAchse - 4), Qt::AlignCenter,
                   t.toString(QStringLiteral("HH:mm")));
    }

    const auto spur = [&](int index) { return QRect(0, kAchse + index * kSpur, width(), kSpur); };
    const auto name = [&](int index, const QString& n) {
        p.setPen(text);
        const QRect r = spur(index).adjusted(kRand, 0, -(width() - links + kRand), 0);
        p.drawText(r, Qt::AlignVCenter | Qt::AlignLeft,
                   fontMetrics().elidedText(n, Qt::ElideRight, r.width()));
    };
    const auto balken = [&](int index, const QDateTime& a, const QDateTime& b, int rand) {
        const QRect s = spur(index);
        return QRect(x(a), s.top() + rand, std::max(x(b) - x(a), 2), s.height() - 2 * rand);
    };

    name(0, QStringLiteral("Anwesenheit"));
    for (const TagesBand& b : tag_->baender) {
        const QColor c = b.art == TagesBand::Art::Pause         ? kPause
                         : b.art == TagesBand::Art::ExterneZeit ? kExtern
                                                                : kAnmeldung;
        p.fillRect(balken(0, b.beginn, b.ende, b.art == TagesBand::Art::Pause ? 6 : 3), c);
    }
    for (int i = 0; i < static_cast<int>(tag_->auftraege.size()); ++i) {
        const AuftragsSumme& a = tag_->auftraege[static_cast<std::size_t>(i)];
        name(i + 1, a.mandant.isEmpty() ? a.auftrag : a.mandant);
        // The logins behind each lane: its gaps are the idle time.
        for (const TagesBand& b : tag_->baender) {
            if (b.art != TagesBand::Art::Pause) {
                p.fillRect(balken(i + 1, b.beginn, b.ende, 3), kAnmeldung.lighter(112));
            }
        }
    }
    for (const TagesPosten& posten : tag_->posten) {
        if (posten.auftrag < 0 || !posten.von.isValid()) {
            continue;
        }
        const QRect r = balken(posten.auftrag + 1, posten.von, posten.bis, 4);
        const QColor c = farbe(posten.auftrag);
        const bool gebucht = posten.art == TagesPosten::Art::Gebucht;
        p.fillRect(r, gebucht ? c.lighter(150) : c);
        if (posten.geschaetzt) {
            p.fillRect(r, QBrush(c.darker(150), Qt::BDiagPattern));
        }
        p.setPen(c.darker(gebucht ? 170 : 120));
        p.drawRect(r.adjusted(0, 0, -1, -1));
    }
    if (tag_->stand.date() == tag_->tag && tag_->stand >= von && tag_->stand <= bis) {
        p.setPen(QPen(kJetzt, 2));
        p.drawLine(x(tag_->stand), kAchse - 4, x(tag_->stand), unten);
    }

    // The legend.
    int lx = kRand;
    const int ly = unten + 8;
    const auto legende = [&](const QColor& c, Qt::BrushStyle stil, const QString& n) {
        p.fillRect(QRect(lx, ly, 14, 12), c);
        if (stil != Qt::SolidPattern) {
            p.fillRect(QRect(lx, ly, 14, 12), QBrush(c.darker(150), stil));
        }
        p.setPen(text);
        const int w = fontMetrics().horizontalAdvance(n);
        p.drawText(QRect(lx + 18, ly - 2, w + 2, 16), Qt::AlignVCenter, n);
        lx += 18 + w + 16;
    };
    legende(kAnmeldung, Qt::SolidPattern, QStringLiteral("angemeldet"));
    legende(kExtern, Qt::SolidPattern, QStringLiteral("externe Zeit"));
    legende(kPause, Qt::SolidPattern, QStringLiteral("Pause"));
    legende(farbe(0), Qt::SolidPattern, QStringLiteral("vorläufig"));
    legende(farbe(0).lighter(150), Qt::SolidPattern, QStringLiteral("gebucht"));
    legende(farbe(0), Qt::BDiagPattern, QStringLiteral("Lage geschätzt"));
}

}  // namespace orv::ui
