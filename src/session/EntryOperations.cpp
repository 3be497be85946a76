// What the windows do with time entries: release, create, edit, delete, rebook, external time,
// and the checks and conversions of typed times. Whenever an entry's time changes, the
// difference moves between its order and the idle order, and the productive total follows.
#include "session/CStoppUhren.h"

#include "model/CAuftrag.h"
#include "model/RestorePoint.h"
#include "model/cLeistung.h"
#include "persistence/DbService.h"
#include "persistence/gateway/CDBAccess.h"
#include "platform/Clock.h"
#include "platform/MessageBoxes.h"
#include "platform/PlatformFactory.h"
#include "platform/Windows.h"
#include "session/diagnostics/ErrorHandling.h"
#include "session/diagnostics/Procedure.h"
#include "session/runtime/Runtime.h"

#include <algorithm>
#include <cstdlib>
#include <initializer_list>

namespace orv {
namespace {

constexpr std::int32_t kModusMitZeit = 1;
constexpr std::int32_t kBestaetigt = 1;  // the small dialogs' confirmation
constexpr std::int32_t kExterneZeitAbgebrochen = 2;
constexpr std::int32_t kLoginArtExterneZeit = 1;
constexpr std::int32_t kTextKategorieLeistung = 2;

// Result codes of the check of a typed time.
constexpr std::int32_t kZeitUnveraendert = 0;
constexpr std::int32_t kZeitMehrAlsLeerlauf = 1;
constexpr std::int32_t kZeitNull = 2;
constexpr std::int32_t kZeitWeniger = 3;
constexpr std::int32_t kZeitAusLeerlauf = 4;

QDateTime nurDatum(const QDateTime& value) {
    return value.isValid() ? QDateTime(value.date(), QTime(0, 0)) : value;
}

// The seconds a stopwatch would hold after a change, and what the employee is told when they
// would fall below 0.
struct Saldo {
    std::int64_t sekunden;
    const char* meldung;
};
constexpr const char* kLeerlaufReichtNicht =
    "Die unproduktive Zeit reicht für diese Änderung nicht aus.";
constexpr const char* kLeistungNegativ = "Eine vorläufige Leistung kann keine negative Zeit haben.";
constexpr const char* kAuftragNegativ = "Ein Auftrag kann keine negative Zeit haben.";
constexpr const char* kUmbuchungNegativ = "Eine negative Zeit kann nicht umgebucht werden.";

// The windows check what is typed; the session is the last line before the database: a change
// that leaves idle time, an entry or an order below 0 seconds is refused before anything is
// written.
void salden(std::initializer_list<Saldo> nachher) {
    for (const Saldo& saldo : nachher) {
        if (saldo.sekunden < 0) {
            raiseError(err::kInvalidCall, QString::fromUtf8(saldo.meldung));
        }
    }
}

}  // namespace

void CStoppUhren::nichtMehrFreigeben(const cLeistung& leistung) {
    if (freigegeben_ != nullptr && freigegeben_->contains(leistung.Key())) {
        freigegeben_->Remove(leistung.Key());
    }
}

void CStoppUhren::auftragOhneLeistungenLoeschen(const std::shared_ptr<CAuftrag>& auftrag) {
    if (auftrag->Status() >= AuftragStatus_Beendet && auftrag->Leistungen().empty() &&
        auftraege_.contains(auftrag->Key())) {
        auftrag->Loeschen();
        auftraege_.Remove(auftrag->Key());
    }
}

void CStoppUhren::laufendeLeistungErneuern() {
    if (!auftragLaeuft_ || aktuellerAuftrag_ == nullptr) {
        return;
    }
    const std::shared_ptr<cLeistung> leistung = aktuellerAuftrag_->AktuelleLeistung();
    const bool weg = leistung == nullptr || leistung->Status() >= AuftragStatus_Geloescht;
    if (!weg && &leistung->Auftrag() == aktuellerAuftrag_.get()) {
        return;
    }
    if (!weg) {
        // Moved to another order, it is finished there and counts no more.
        leistung->Anhalten(false, true);
        leistung->Speichern(false);
    }
    aktuellerAuftrag_->LeistungErneuern();
}

void CStoppUhren::leistungEntfernen(cLeistung& leistung) {
    const std::shared_ptr<cLeistung> bleibt = leistung.shared_from_this();
    const std::shared_ptr<CAuftrag> auftrag = leistung.Auftrag().shared_from_this();
    leistung.Loeschen(false);
    auftrag->Leistungen().Remove(leistung.Key());
    nichtMehrFreigeben(leistung);
    auftragOhneLeistungenLoeschen(auftrag);
}

void CStoppUhren::leerlaufVerrechnen(std::int32_t differenz) {
    CAuftrag& leerlauf = LeerlaufAuftrag();
    leerlauf.Sekunden(rt::subtractLong(leerlauf.Sekunden(), differenz));
    std::shared_ptr<cLeistung> leistung = leerlauf.AktuelleLeistung();
    if (leistung == nullptr) {
        leistung = leerlauf.Leistung(QStringLiteral("1"));
    }
    leistung->Sekunden(leerlauf.Sekunden());
    leerlauf.Speichern();
    // An entry of no seconds saves nothing, and the order saves only its current entry; the idle
    // entry's row must follow the idle order all the same, down to 0, or it keeps seconds that
    // went to a productive entry and the day closing books them a second time.
    if (leistung->Sekunden() <= 0 || leistung != leerlauf.AktuelleLeistung()) {
        DbAccess().UpdateLeistung(*leistung);
    }
    auftragsSekunden_ = rt::addLong(auftragsSekunden_, differenz);
}

QString CStoppUhren::auftragText(const CAuftrag& auftrag) {
    return QString::number(auftrag.AuftragArtNr()) + QLatin1Char('/') +
           QString::number(auftrag.AngelegenheitNr()) + QLatin1Char(' ') + auftrag.Angelegenheit() +
           QLatin1Char(' ') + auftrag.PeriodeText();
}

bool CStoppUhren::auftragVorhanden(const CAuftrag& auftrag) {
    if (DbAccess().AuftragIstVorhanden(auftrag.AuftragId())) {
        return true;
    }
    platform_.messageBoxes().show(
        QStringLiteral("Der Auftrag ") + auftragText(auftrag) +
            QStringLiteral(" existiert nicht mehr.\n") +
            QStringLiteral("Bitte ordnen Sie der vorläufigen Leistung einen anderen Auftrag zu."),
        platform::MsgButtons::OkOnly, platform::MsgIcon::Information, QStringLiteral("Stoppuhren"));
    return false;
}

bool CStoppUhren::LeistungFreigeben(QString& auftragKey, QString& leistungKey) {
    Procedure p(trace_, "LeistungFreigeben");
    return p.run([&] {
        if (freigegeben_ == nullptr) {
            freigegeben_ = std::make_unique<KeyedCollection<cLeistung>>();
        }
        const std::shared_ptr<cLeistung> leistung =
            auftraege_.item(auftragKey)->Leistung(leistungKey);
        const CAuftrag& auftrag = leistung->Auftrag();
        if (auftrag.AuftragId() <= 0 || !auftragVorhanden(auftrag)) {
            return false;
        }
        if (!freigegeben_->contains(leistung->Key())) {
            freigegeben_->Add(leistung, leistung->Key());
        }
        return true;
    });
}

std::int32_t CStoppUhren::LeistungErzeugen(QString& auftragKey, QString& leistungKey,
                                           std::int32_t& seconds) {
    Procedure p(trace_, "LeistungErzeugen");
    return p.run([&] {
        salden({{seconds, kLeistungNegativ}});
        return leistungErzeugen(auftragKey, leistungKey, seconds, nullptr);
    });
}

std::int32_t CStoppUhren::NeueLeistungUmbuchen(cLeistung& quelle, QString& auftragKey,
                                               QString& leistungKey, std::int32_t sekunden) {
    Procedure p(trace_, "NeueLeistungUmbuchen");
    return p.run([&] {
        if (sekunden < 1) {
            raiseError(err::kInvalidCall, QString::fromUtf8(kUmbuchungNegativ));
        }
        return leistungErzeugen(auftragKey, leistungKey, sekunden, &quelle);
    });
}

std::int32_t CStoppUhren::leistungErzeugen(QString& auftragKey, QString& leistungKey,
                                           std::int32_t seconds, cLeistung* quelle) {
    const bool mitZeit = seconds > 0;
    // The entry starts under an order of its own that has no row; the window picks the
    // office order it belongs to.
    auto vorlaeufig = std::make_shared<CAuftrag>(*this);
    vorlaeufig->Init(*this, false, 0, true);
    vorlaeufig->Status(AuftragStatus_InAktiv);
    auto leistung = std::make_shared<cLeistung>(*this);
    leistung->Init(*vorlaeufig, false);
    leistung->Status(AuftragStatus_Beendet);
    leistung->Sekunden(seconds);
    leistung->Beginn(QDateTime(platform_.clock().now().date(), QTime(0, 0)));

    std::int32_t result = BearbeitungStati_Abbruch;
    {
        std::unique_ptr<platform::FrmLeistung> fenster = platform_.createFrmLeistung();
        std::int32_t sekunden = 0;
        if (mitZeit) {
            fenster->setModus(kModusMitZeit);
            sekunden = seconds;
        }
        std::int32_t auftragId = 0;
        const std::int32_t status =
            fenster->LeistungAnzeigen(*leistung, sekunden, auftragId, false);
        // Without an office order the entry would have no order row to live under.
        if (status == BearbeitungStati_Geaendert && sekunden >= 1 &&
            leistung->Auftrag().AuftragId() >= 1) {
            // Without time of its own the entry's time comes from the idle time; rebooked, from
            // the source, which cannot give more than it holds.
            if (quelle != nullptr) {
                const bool vomLeerlauf = quelle->Auftrag().Leerlauf();
                salden({{std::int64_t{quelle->Sekunden()} - sekunden,
                         vomLeerlauf ? kLeerlaufReichtNicht : kLeistungNegativ},
                        {std::int64_t{quelle->Auftrag().Sekunden()} - sekunden,
                         vomLeerlauf ? kLeerlaufReichtNicht : kAuftragNegativ}});
            } else if (!mitZeit) {
                salden(
                    {{std::int64_t{LeerlaufAuftrag().Sekunden()} - sekunden + leistung->Sekunden(),
                      kLeerlaufReichtNicht}});
            }
            // The new row, the order it joins and the time it came from change together; an
            // order the session already holds gets the entry's seconds.
            RestorePoint point(*this);
            point.keep(*leistung).keep(LeerlaufAuftrag());
            if (quelle != nullptr) {
                point.keep(*quelle).keep(quelle->Auftrag());
            }
            if (const std::shared_ptr<CAuftrag> ziel =
                    AuftragZuAuftragId(leistung->Auftrag().AuftragId())) {
                point.keep(*ziel);
            }
            result = point.run([&] {
                const std::int32_t differenz = rt::subtractLong(sekunden, leistung->Sekunden());
                leistung->Sekunden(sekunden);
                // Joining the order adds the entry's seconds to it once.
                leistung->AuftragAendern(leistung->Auftrag().AuftragId(), true);
                leistung->Auftrag().Speichern();
                if (quelle != nullptr) {
                    // Exactly what the new entry received leaves the source.
                    zeitBuchen(quelle, -leistung->Sekunden());
                    if (quelle->Sekunden() <= 0 && !quelle->Auftrag().Leerlauf()) {
                        leistungEntfernen(*quelle);
                        laufendeLeistungErneuern();
                        return std::int32_t{BearbeitungStati_Geloescht};
                    }
                } else if (mitZeit) {
                    auftragsSekunden_ = rt::addLong(auftragsSekunden_, leistung->Sekunden());
                } else {
                    leerlaufVerrechnen(differenz);
                }
                return std::int32_t{BearbeitungStati_Geaendert};
            });
        }
    }
    auftragKey = leistung->Auftrag().Key();
    leistungKey = leistung->Key();
    return result;
}

bool CStoppUhren::LeistungLoeschen(QString& auftragKey, QString& leistungKey) {
    Procedure p(trace_, "LeistungLoeschen");
    return p.run([&] {
        const std::shared_ptr<CAuftrag> auftrag = auftraege_.item(auftragKey);
        const std::shared_ptr<cLeistung> leistung = auftrag->Leistung(leistungKey);
        RestorePoint point(*this);
        point.keep(*leistung).keep(*auftrag).keep(LeerlaufAuftrag());
        return point.run([&] {
            const bool result = leistung->Loeschen(true);
            auftragsSekunden_ = rt::subtractLong(auftragsSekunden_, leistung->Sekunden());
            // Deleted time is not booked any more.
            nichtMehrFreigeben(*leistung);
            auftragOhneLeistungenLoeschen(auftrag);
            laufendeLeistungErneuern();
            return result;
        });
    });
}

std::int32_t CStoppUhren::LeistungBearbeiten(QString& auftragKey, QString& leistungKey) {
    Procedure p(trace_, "LeistungBearbeiten");
    return p.run([&] {
        std::shared_ptr<cLeistung> leistung;
        if (!leistungKey.isEmpty()) {
            leistung = Auftrag(auftragKey)->Leistung(leistungKey);
        }
        if (leistung == nullptr) {
            raiseObjectNotSet(QStringLiteral("Es ist keine vorläufige Leistung gewählt."));
        }
        std::int32_t result = BearbeitungStati_Abbruch;
        {
            std::unique_ptr<platform::FrmLeistung> fenster = platform_.createFrmLeistung();
            std::int32_t neueSekunden = 0;
            std::int32_t auftragId = 0;
            result = fenster->LeistungAnzeigen(*leistung, neueSekunden, auftragId, false);
            if (result == BearbeitungStati_Geaendert) {
                // The entry, its order, the idle time and a move to another order change
                // together.
                const std::shared_ptr<CAuftrag> auftrag = leistung->Auftrag().shared_from_this();
                const std::int64_t zuwachs = std::int64_t{neueSekunden} - leistung->Sekunden();
                salden({{neueSekunden, kLeistungNegativ},
                        {auftrag->Sekunden() + zuwachs, kAuftragNegativ},
                        {LeerlaufAuftrag().Sekunden() - zuwachs, kLeerlaufReichtNicht}});
                RestorePoint point(*this);
                point.keep(*leistung).keep(*auftrag).keep(LeerlaufAuftrag());
                if (const std::shared_ptr<CAuftrag> ziel = AuftragZuAuftragId(auftragId)) {
                    point.keep(*ziel);
                }
                point.run([&] {
                    const std::int32_t differenz =
                        rt::subtractLong(neueSekunden, leistung->Sekunden());
                    // Begin and end no longer frame a changed time; a changed note or text
                    // leaves them as the clock recorded them.
                    const bool zeitGeaendert = differenz != 0;
                    leistung->Sekunden(neueSekunden);
                    auftrag->Sekunden(rt::addLong(auftrag->Sekunden(), differenz));
                    auftrag->Speichern();
                    leerlaufVerrechnen(differenz);
                    if (neueSekunden == 0) {
                        leistungEntfernen(*leistung);
                        result = BearbeitungStati_Geloescht;
                    } else {
                        if (zeitGeaendert) {
                            leistung->Beginn(nurDatum(leistung->Beginn()));
                            leistung->Ende(nurDatum(leistung->Ende()));
                        }
                        leistung->Speichern(false);
                        leistung->AuftragAendern(auftragId, false);
                    }
                    laufendeLeistungErneuern();
                });
            }
        }
        auftragKey = leistung->Auftrag().Key();
        return result;
    });
}

std::int32_t CStoppUhren::LeistungUmbuchen(QString& auftragKey, const QString& leistungKey) {
    Procedure p(trace_, "LeistungUmbuchen");
    return p.run([&] {
        std::unique_ptr<platform::FrmLeistungUmbuchen> fenster =
            platform_.createFrmLeistungUmbuchen();
        if (auftragKey != CAuftrag::LeerlaufKey()) {
            return fenster->LeistungUmbuchen(*Auftrag(auftragKey)->Leistung(leistungKey));
        }
        return fenster->LeerlaufUmbuchen(*LeerlaufAuftrag().Leistung(QStringLiteral("1")));
    });
}

void CStoppUhren::zeitBuchen(cLeistung* leistung, std::int32_t differenz) {
    // What the idle time gains or loses, the productive total loses or gains.
    if (leistung == nullptr || leistung->Auftrag().Leerlauf()) {
        leerlaufVerrechnen(-differenz);
        return;
    }
    CAuftrag& auftrag = leistung->Auftrag();
    leistung->Sekunden(rt::addLong(leistung->Sekunden(), differenz));
    auftrag.Sekunden(rt::addLong(auftrag.Sekunden(), differenz));
    auftrag.Speichern();
    leistung->Speichern(false);
}

std::int32_t CStoppUhren::Umbuchen(cLeistung& quelle, cLeistung* ziel, std::int32_t sekunden) {
    Procedure p(trace_, "Umbuchen");
    return p.run([&] {
        CAuftrag& herkunft = quelle.Auftrag();
        const bool vomLeerlauf = herkunft.Leerlauf();
        salden({{sekunden, kUmbuchungNegativ},
                {std::int64_t{quelle.Sekunden()} - sekunden,
                 vomLeerlauf ? kLeerlaufReichtNicht : kLeistungNegativ},
                {std::int64_t{herkunft.Sekunden()} - sekunden,
                 vomLeerlauf ? kLeerlaufReichtNicht : kAuftragNegativ}});
        // Both entries, both orders, the idle time and the productive total change together.
        RestorePoint point(*this);
        point.keep(quelle).keep(herkunft).keep(LeerlaufAuftrag());
        if (ziel != nullptr) {
            point.keep(*ziel).keep(ziel->Auftrag());
        }
        return point.run([&] {
            zeitBuchen(ziel, sekunden);
            zeitBuchen(&quelle, -sekunden);
            if (quelle.Sekunden() > 0 || vomLeerlauf) {
                return std::int32_t{BearbeitungStati_Geaendert};
            }
            leistungEntfernen(quelle);
            laufendeLeistungErneuern();
            return std::int32_t{BearbeitungStati_Geloescht};
        });
    });
}

void CStoppUhren::Eigenschaftenanzeigen() {
    Procedure p(trace_, "EigenschaftenAnzeigen");
    p.run([&] {
        CAuftrag auftrag(*this);
        auftrag.Init(*this, false, 0, true);
        auftrag.AuftragAendern(leerlaufBuchungsAuftrag_);
        std::unique_ptr<platform::FrmEigenschaften> fenster = platform_.createFrmEigenschaften();
        if (fenster->Eigenschaftenanzeigen(auftrag) == kBestaetigt &&
            auftrag.AuftragId() != leerlaufBuchungsAuftrag_) {
            DbAccess().OptionsWertSchreiben(2, QString::number(auftrag.AuftragId()));
            leerlaufBuchungsAuftrag_ = auftrag.AuftragId();
        }
    });
}

std::int32_t CStoppUhren::ExterneZeitErfassen(std::int32_t& seconds, QDateTime& von,
                                              QDateTime& bis) {
    Procedure p(trace_, "ExterneZeitErfassen");
    return p.run([&] {
        std::unique_ptr<platform::FrmExterneZeit> fenster = platform_.createFrmExterneZeit();
        if (fenster->ExterneZeitErfassen(*this, seconds, von, bis) != kBestaetigt) {
            return kExterneZeitAbgebrochen;
        }
        // Checked again as it is written: another workstation may have recorded a login since
        // the window checked. The idle time gains exactly the recorded period.
        const QString grund = ExterneZeitPruefen(von, bis);
        if (!grund.isEmpty()) {
            raiseError(err::kInvalidCall, grund);
        }
        seconds = rt::toLong(rt::secondsBetween(von, bis));
        RestorePoint(*this).keep(LeerlaufAuftrag()).run([&] {
            if (!DbAccess().LoginErstellen(von, bis, kLoginArtExterneZeit)) {
                raiseError(err::kInvalidCall,
                           QStringLiteral("Die externe Zeit wurde nicht als Anmeldung "
                                          "gespeichert und daher nicht übernommen."));
            }
            ZusatzZeitLeerlauf(seconds);
        });
        return kBestaetigt;
    });
}

QString CStoppUhren::ExterneZeitPruefen(const QDateTime& von, const QDateTime& bis) {
    Procedure p(trace_, "ExterneZeitPruefen");
    return p.run([&] {
        // The seconds join today's idle time: a period of another day would be counted today.
        const QDate heute = platform_.clock().now().date();
        if (!von.isValid() || !bis.isValid() || von.date() != heute || bis.date() != heute) {
            return QStringLiteral("Externe Zeiten können nur für den heutigen Tag erfasst werden.");
        }
        if (bis <= von) {
            return QStringLiteral("Endzeit muss größer als Startzeit sein.");
        }
        if (bis >= loginZeit_) {
            return QStringLiteral("Zunkünftige Zeiten können nicht erfasst werden.");
        }
        if (!DbAccess().LoginPruefen(von, bis)) {
            return QStringLiteral(
                "Der angegebene Zeitraum überschneidet sich mit einem bereits vorhandenen Login");
        }
        return QString();
    });
}

QString CStoppUhren::StandardLeistungsText(QString& text) {
    Procedure p(trace_, "StandrdLeistungsText");
    return p.run([&] {
        // A standard text is named by its number alone: digits, no sign, point, exponent or
        // blank, and few enough to stay a number of the database. It is bound, never joined in.
        constexpr qsizetype kStellen = 9;
        if (text.isEmpty() || text.size() > kStellen ||
            !std::all_of(text.begin(), text.end(),
                         [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); })) {
            return text;
        }
        const std::int64_t nummer = text.toLongLong();
        db::DbService service(platform_.officeDatabase());
        service.Open();
        if (service.OpenQuery(QStringLiteral("SELECT dcText FROM tStdBuText") +
                                  QStringLiteral(" WHERE dlNummer = $1 AND flPs_Id IN(0,$2)") +
                                  QStringLiteral(" AND dlTextKategorie = $3"),
                              db::Params{nummer, std::int64_t{mlKanzlei_},
                                         std::int64_t{kTextKategorieLeistung}}) > 0) {
            text = service.FieldText("dcText", QString());
        }
        service.CloseQuery();
        service.Close();
        return text;
    });
}

std::int32_t CStoppUhren::SekundenAusZeit(const QString& zeit) {
    Procedure p(trace_, "SekundenAusZeit", Procedure::Tracing::Untraced);
    return p.run([&] {
        const auto teil = [&](qsizetype position, double faktor) {
            return rt::roundToLong(rt::leadingNumber(zeit.mid(position, 2)) * faktor);
        };
        return rt::addLong(rt::addLong(teil(0, 3600), teil(3, 60)), teil(6, 1));
    });
}

std::int32_t CStoppUhren::PruefeLeistungZeit(const QString& zeit, std::int32_t bisher,
                                             QString& differenz) {
    Procedure p(trace_, "PruefeLeistungZeit", Procedure::Tracing::Untraced);
    return p.run([&] {
        const std::int32_t neu =
            rt::isNumeric(zeit) ? rt::roundToLong(rt::toDouble(zeit)) : SekundenAusZeit(zeit);
        const std::int64_t leerlauf = LeerlaufAuftrag().Sekunden();
        const std::int64_t zuwachs = std::int64_t{neu} - bisher;
        std::int32_t code = kZeitUnveraendert;
        if (zuwachs > leerlauf) {
            code = kZeitMehrAlsLeerlauf;
        }
        if (neu == bisher) {
            code = kZeitUnveraendert;
        }
        if (neu == 0) {
            code = kZeitNull;
        }
        if (neu < bisher && neu >= 1) {
            code = kZeitWeniger;
        }
        if (zuwachs <= leerlauf && neu > bisher) {
            code = kZeitAusLeerlauf;
        }
        differenz = SekundenZeit(rt::toLong(std::llabs(zuwachs)));
        return code;
    });
}

}  // namespace orv
