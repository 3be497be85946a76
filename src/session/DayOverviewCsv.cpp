#include "session/DayOverviewCsv.h"

#include "session/DayOverview.h"

#include <QStringList>

namespace orv {
namespace {

QString feld(QString text) {
    if (text.contains(QLatin1Char(';')) || text.contains(QLatin1Char('"')) ||
        text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'))) {
        text.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        return QLatin1Char('"') + text + QLatin1Char('"');
    }
    return text;
}

QString zeitpunkt(const QDateTime& t) {
    return t.isValid() ? t.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")) : QString();
}

// Hours to two decimals with a decimal comma, without grouping: a spreadsheet cell, not a text.
QString stunden(std::int64_t sekunden) {
    return QString::number(static_cast<double>(sekunden) / 3600.0, 'f', 2)
        .replace(QLatin1Char('.'), QLatin1Char(','));
}

QString bandArt(TagesBand::Art art) {
    switch (art) {
        case TagesBand::Art::Anmeldung:
            return QStringLiteral("Anmeldung");
        case TagesBand::Art::ExterneZeit:
            return QStringLiteral("externe Zeit");
        case TagesBand::Art::Pause:
            break;
    }
    return QStringLiteral("Pause");
}

QString postenArt(TagesPosten::Art art) {
    switch (art) {
        case TagesPosten::Art::Leistung:
            return QStringLiteral("vorläufige Leistung");
        case TagesPosten::Art::Gebucht:
            return QStringLiteral("gebuchte Leistung");
        case TagesPosten::Art::Leerlauf:
            return QStringLiteral("Leerlauf");
        case TagesPosten::Art::LeerlaufGebucht:
            break;
    }
    return QStringLiteral("Leerlauf gebucht");
}

}  // namespace

QByteArray TagesuebersichtCsv(const Tagesuebersicht& tag) {
    QString text;
    const auto zeile = [&](const QString& art, const QString& mandant, const QString& auftrag,
                           const QDateTime& beginn, const QDateTime& ende, std::int64_t sekunden) {
        text += QStringList{feld(art),         feld(mandant),   feld(auftrag),
                            zeitpunkt(beginn), zeitpunkt(ende), QString::number(sekunden),
                            stunden(sekunden)}
                    .join(QLatin1Char(';')) +
                QStringLiteral("\r\n");
    };
    text += QStringLiteral("Art;Mandant;Auftrag;Beginn;Ende;Sekunden;Stunden\r\n");
    for (const TagesBand& b : tag.baender) {
        zeile(bandArt(b.art), {}, {}, b.beginn, b.offen ? QDateTime() : b.ende,
              b.beginn.secsTo(b.ende));
    }
    for (const TagesPosten& p : tag.posten) {
        const AuftragsSumme* a =
            p.auftrag >= 0 ? &tag.auftraege[static_cast<std::size_t>(p.auftrag)] : nullptr;
        zeile(postenArt(p.art), a ? a->mandant : QString(), a ? a->auftrag : QString(), p.beginn,
              p.ende, p.sekunden);
    }
    for (const AuftragsSumme& a : tag.auftraege) {
        zeile(QStringLiteral("Summe Auftrag"), a.mandant, a.auftrag, {}, {}, a.sekunden());
    }
    zeile(QStringLiteral("Summe Leerlauf"), {}, {}, {}, {}, tag.leerlauf);
    zeile(QStringLiteral("Summe produktiv"), {}, {}, {}, {}, tag.produktiv());
    zeile(QStringLiteral("Gesamt"), {}, {}, {}, {}, tag.gesamt());
    return QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8();
}

}  // namespace orv
