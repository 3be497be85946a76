#include "model/cLeistung.h"

#include "model/CAuftrag.h"
#include "model/OrderPicking.h"
#include "model/RestorePoint.h"
#include "model/RowStatus.h"
#include "persistence/DbProcedure.h"
#include "persistence/DbService.h"
#include "persistence/gateway/CDBAccess.h"
#include "platform/Clock.h"
#include "platform/PlatformFactory.h"
#include "session/CStoppUhren.h"
#include "session/diagnostics/ErrorHandling.h"
#include "session/diagnostics/Procedure.h"
#include "session/runtime/Runtime.h"

#include <cmath>
#include <utility>
#include <vector>

namespace orv {
namespace {

constexpr qsizetype kLeistungsTextLaenge = 64;

}  // namespace

cLeistung::cLeistung(CStoppUhren& session)
    : session_(session), trace_(session.platform(), QStringLiteral("cLeistung")) {}

cLeistung::~cLeistung() = default;

QDateTime cLeistung::now() const {
    return session_.platform().clock().now();
}

CAuftrag& cLeistung::Auftrag() const {
    if (auftrag_ == nullptr) {
        raiseObjectNotSet(QStringLiteral("Die Leistung gehört zu keinem Auftrag."));
    }
    return *auftrag_;
}

void cLeistung::Init(CAuftrag& auftrag, bool newRow) {
    Procedure p(trace_, "cLeistung");
    p.run([&] {
        auftrag_ = &auftrag;
        texte_.clear();
        if (newRow) {
            session_.DbAccess().InsertLeistungZeitErfassung(*this);
        }
        letzterTick_ = now();
    });
}

QString cLeistung::BeginnText() const {
    return rt::clockText(beginn_);
}

QString cLeistung::EndeText() const {
    return rt::clockText(ende_);
}

QString cLeistung::Key() const {
    return QLatin1Char('l') + QString::number(id_);
}

QString cLeistung::ZeitText() const {
    return rt::durationText(sekunden_);
}

QString cLeistung::ZeitTextIndustrie() const {
    return rt::industrialHoursText(sekunden_);
}

std::int32_t cLeistung::VerwaltungsZeit() const {
    return rt::roundToLong(sekunden_ / 100.0 * session_.Verwaltungsanteil());
}

QString cLeistung::VerwaltungsZeitText() const {
    return rt::durationText(VerwaltungsZeit());
}

QString cLeistung::SekundenZeit(std::int32_t seconds) {
    return rt::durationText(seconds);
}

void cLeistung::Increment() {
    Procedure p(trace_, "Increment");
    p.run([&] {
        const QDateTime current = now();
        const std::int64_t elapsed =
            letzterTick_.isValid() ? rt::secondsBetween(letzterTick_, current) : 1;
        sekunden_ = rt::addLong(sekunden_, rt::toLong(elapsed));
        letzterTick_ = current;
    });
}

void cLeistung::Starten(bool setBeginn) {
    Procedure p(trace_, "Starten");
    p.run([&] {
        const QDateTime current = now();
        if (setBeginn) {
            beginn_ = current;
        }
        status_ = AuftragStatus_Aktiv;
        writeRowStatus(session_.platform().officeDatabase(), id_, status_);
        letzterTick_ = current;
    });
}

void cLeistung::Anhalten(bool pause, bool finish) {
    Procedure p(trace_, "Anhalten");
    p.run([&] {
        // A finished, booked or deleted entry keeps its end. The row is not written here: the
        // order that stops its entry saves both right after.
        if (status_ >= AuftragStatus_Beendet) {
            return;
        }
        ende_ = now();
        if (!pause) {
            status_ = finish ? AuftragStatus_Beendet : AuftragStatus_InAktiv;
        }
    });
}

void cLeistung::Speichern(bool insert) {
    Procedure p(trace_, "Speichern");
    // The row and its text lines are one save: never a half-written set of lines.
    p.run([&] {
        // An entry whose row is gone (deleted or booked) has nothing left to write; its text
        // lines may meanwhile carry the ids of service texts, which name other lines here.
        if (sekunden_ <= 0 || status_ >= kStatusZeileGeloescht) {
            return;
        }
        RestorePoint(session_).keep(*this).run([&] { speichern(insert); });
    });
}

void cLeistung::speichern(bool insert) {
    if (insert) {
        trace_.trace(QStringLiteral(
            "Speichern: moAuftrag.StoppUhren.DbAccess.InsertLeistungZeitErfassung Me"));
        session_.DbAccess().InsertLeistungZeitErfassung(*this);
    } else {
        trace_.trace(QStringLiteral("Speichern: moAuftrag.StoppUhren.DbAccess.UpdateLeistung Me"));
        session_.DbAccess().UpdateLeistung(*this);
    }
    // Idle time is booked with a text of its own at the day closing; its lines stay unsaved.
    if (!Auftrag().Leerlauf() && !texte_.empty()) {
        saveTextLines();
    }
}

void cLeistung::saveTextLines() {
    const auto traceLine = [&](const CText& line) {
        if (trace_.enabled()) {
            trace_.trace(QStringLiteral("Speichern: oText.TextId = ") +
                         QString::number(line.TextId()));
        }
    };
    db::Database& database = session_.platform().officeDatabase();
    leereZeilenLoeschen(database);
    // A line inserted here already holds its text: only lines stored before are rewritten.
    std::vector<bool> stored;
    stored.reserve(static_cast<std::size_t>(texte_.Count()));
    for (const std::shared_ptr<CText>& line : texte_) {
        stored.push_back(line->TextId() >= 1);
    }
    {
        db::DbProcedure insert(database);
        if (insert.Prepare(QStringLiteral("dbo.S_ORV_Common_Korg_Insert_Text"), 0)) {
            for (const std::shared_ptr<CText>& line : texte_) {
                if (!line->Text().isEmpty() && line->TextId() == 0) {
                    traceLine(*line);
                    insert.AddLong("@VorgangID", id_);
                    insert.AddText("@Text", line->Text());
                    insert.AddLong("@TextID", line->TextId());
                    insert.Execute(0);
                    line->TextId(insert.OutLong("@TextID"));
                }
            }
        }
        insert.Close();
    }
    db::DbProcedure update(database);
    if (update.Prepare(QStringLiteral("dbo.S_ORV_Common_Korg_Update_Text"), 0)) {
        std::size_t position = 0;
        for (const std::shared_ptr<CText>& line : texte_) {
            if (stored[position++] && !line->Text().isEmpty()) {
                traceLine(*line);
                update.AddText("@Text", line->Text());
                update.AddLong("@TextID", line->TextId());
                update.Execute(0);
            }
        }
    }
    update.Close();
}

void cLeistung::leereZeilenLoeschen(db::Database& database) {
    // A stored line the employee emptied goes from the database too; kept there, it would come
    // back with the next start.
    db::DbService service(database);
    bool offen = false;
    for (std::int32_t position = texte_.Count(); position >= 1; --position) {
        const std::shared_ptr<CText> line = texte_.at(position);
        if (line->TextId() < 1 || !line->Text().isEmpty()) {
            continue;
        }
        if (!std::exchange(offen, true)) {
            service.Open();
        }
        trace_.trace(QStringLiteral("Speichern: leere Zeile, oText.TextId = ") +
                     QString::number(line->TextId()));
        service.Execute(QStringLiteral("DELETE FROM tLeistungZeiterfassungTexte"
                                       " WHERE idLeistungZeiterfassungTexte = $1"),
                        db::Params{std::int64_t{line->TextId()}});
        texte_.Remove(QString::number(position));
    }
    if (offen) {
        service.Close();
    }
}

bool cLeistung::Loeschen(bool moveToIdle) {
    Procedure p(trace_, "Loeschen");
    // The row goes and its seconds move to the idle time in one step: never counted twice or lost.
    return p.run([&] {
        RestorePoint point(session_);
        point.keep(*this);
        if (moveToIdle) {
            point.keep(Auftrag()).keep(session_.LeerlaufAuftrag());
        }
        return point.run([&] { return loeschen(moveToIdle); });
    });
}

bool cLeistung::loeschen(bool moveToIdle) {
    session_.DbAccess().LeistungLoeschen(*this);
    if (moveToIdle) {
        CAuftrag& leerlauf = session_.LeerlaufAuftrag();
        leerlauf.Sekunden(rt::addLong(leerlauf.Sekunden(), sekunden_));
        trace_.trace(QStringLiteral("Loeschen: moAuftrag.StoppUhren.Leerlauf.Speichern"));
        leerlauf.Speichern();
        const std::shared_ptr<cLeistung> leerlaufLeistung = leerlauf.Leistung(QStringLiteral("1"));
        leerlaufLeistung->Sekunden(rt::addLong(leerlaufLeistung->Sekunden(), sekunden_));
        trace_.trace(
            QStringLiteral("Loeschen: moAuftrag.StoppUhren.Leerlauf.Leistung(1).Speichern False"));
        leerlaufLeistung->Speichern(false);
        CAuftrag& auftrag = Auftrag();
        auftrag.Sekunden(rt::subtractLong(auftrag.Sekunden(), sekunden_));
        trace_.trace(QStringLiteral("Loeschen: moAuftrag.Speichern"));
        auftrag.Speichern();
        auftrag.Leistungen().Remove(Key());
    }
    return true;
}

void cLeistung::AuftragAendern(std::int32_t newAuftragId, bool asNew) {
    Procedure p(trace_, "AuftragAendern");
    // The entry's seconds leave one order and join the other in one step.
    p.run([&] {
        RestorePoint point(session_);
        point.keep(*this).keep(Auftrag());
        if (const std::shared_ptr<CAuftrag> target = session_.AuftragZuAuftragId(newAuftragId)) {
            point.keep(*target);
        }
        point.run([&] { auftragAendern(newAuftragId, asNew); });
    });
}

void cLeistung::auftragAendern(std::int32_t newAuftragId, bool asNew) {
    CAuftrag& current = Auftrag();
    if (!asNew && (newAuftragId == current.AuftragId() || newAuftragId < 1)) {
        return;
    }
    std::shared_ptr<CAuftrag> target;
    if (newAuftragId < 1) {
        current.AuftragAendern(0);
    } else {
        target = session_.AuftragZuAuftragId(newAuftragId);
        if (target == nullptr) {
            target = std::make_shared<CAuftrag>(session_);
            target->Init(session_, false, 0, false);
            target->Status(AuftragStatus_InAktiv);
            session_.Auftraege().Add(target, target->Key());
            target->AuftragAendern(newAuftragId);
        }
    }
    // Keeps the entry alive while it moves between the collections.
    const std::shared_ptr<cLeistung> self = shared_from_this();
    if (asNew) {
        trace_.trace(QStringLiteral("AuftragAendern: Speichern True"));
        Speichern(true);
    } else if (target != nullptr && id_ != 0) {
        current.Leistungen().Remove(Key());
        current.Sekunden(rt::subtractLong(current.Sekunden(), sekunden_));
        trace_.trace(QStringLiteral("AuftragAendern: moAuftrag.Speichern"));
        current.Speichern();
    }
    if (target != nullptr) {
        target->Leistungen().Add(self, Key());
        target->Sekunden(rt::addLong(target->Sekunden(), sekunden_));
        target->AuftragId(newAuftragId);
        auftrag_ = target.get();
        trace_.trace(QStringLiteral("AuftragAendern: moAuftrag.Speichern_2"));
        target->Speichern();
        session_.DbAccess().LeistungAuftragAendern(*this);
    }
}

void cLeistung::AnAuftragAnfuegen() {
    Procedure p(trace_, "AnAuftragAnfuegen");
    p.run([&] {
        if (auftrag_ == nullptr) {
            return;
        }
        RestorePoint(session_).keep(*this).keep(*auftrag_).run([&] {
            auftrag_->Leistungen().Add(shared_from_this(), Key());
            auftrag_->Sekunden(rt::addLong(auftrag_->Sekunden(), sekunden_));
            trace_.trace(QStringLiteral("AnAuftragAnfuegen"));
            auftrag_->Speichern();
            session_.DbAccess().LeistungAuftragAendern(*this);
        });
    });
}

void cLeistung::AuftragAendernVorlauefig(std::int32_t newAuftragId) {
    Procedure p(trace_, "AuftragAendernVorlauefig");
    p.run([&] {
        CAuftrag& auftrag = Auftrag();
        if (newAuftragId != auftrag.AuftragId() && newAuftragId > 0) {
            auftrag.AuftragAendern(newAuftragId);
            auftrag.AuftragId(newAuftragId);
        }
    });
}

bool cLeistung::AuftragBrowsen() {
    Procedure p(trace_, "AuftragBrowsen");
    return p.run([&] {
        return applyPickedOrder(pickOrderInBrowser(session_, Auftrag().MandantNr()),
                                [&](std::int32_t auftragId) { AuftragAendern(auftragId, false); });
    });
}

bool cLeistung::AuftragAnzeigen() {
    Procedure p(trace_, "AuftragAnzeigen");
    return p.run([&] {
        return applyPickedOrder(pickOrderInDisplay(session_, Auftrag().AuftragId()),
                                [&](std::int32_t auftragId) { AuftragAendern(auftragId, false); });
    });
}

bool cLeistung::AuftragBrowsenVorlauefig() {
    Procedure p(trace_, "AuftragBrowsenVorlauefig");
    return p.run([&] {
        return applyPickedOrder(
            pickOrderInBrowser(session_, Auftrag().MandantNr()),
            [&](std::int32_t auftragId) { AuftragAendernVorlauefig(auftragId); });
    });
}

std::shared_ptr<CText> cLeistung::TextHinzufuegen(std::int32_t textId, const QString& text) {
    Procedure p(trace_, "TextHinzufuegen");
    return p.run([&] {
        auto line = std::make_shared<CText>(textId, text);
        texte_.Add(line);
        return line;
    });
}

std::shared_ptr<CText> cLeistung::Text(const QString& key) const {
    if (key.isEmpty()) {
        return nullptr;
    }
    return texte_.item(key);
}

QString cLeistung::ErsteZeileText() const {
    return texte_.empty() ? QString() : texte_.at(1)->Text();
}

QString cLeistung::VerwaltungsText() const {
    return rt::left(QStringLiteral("(VZL) ") + ErsteZeileText(), kLeistungsTextLaenge);
}

void cLeistung::StandardTextSetzen(const QString& text) {
    if (texte_.empty()) {
        texte_.Add(std::make_shared<CText>());
    }
    texte_.at(1)->Text(text);
}

void cLeistung::StandardTextUebernehmen(const QString& text, const QString& bisher) {
    const QString erste = ErsteZeileText();
    if (erste.isEmpty() || erste == bisher) {
        StandardTextSetzen(text);
    }
}

}  // namespace orv
