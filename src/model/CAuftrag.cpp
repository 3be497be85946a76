#include "model/CAuftrag.h"

#include "model/OrderPicking.h"
#include "model/RestorePoint.h"
#include "model/RowStatus.h"
#include "model/cLeistung.h"
#include "persistence/gateway/CDBAccess.h"
#include "platform/Clock.h"
#include "platform/PlatformFactory.h"
#include "platform/host/OrderObjects.h"
#include "session/CStoppUhren.h"
#include "session/diagnostics/Procedure.h"
#include "session/runtime/Runtime.h"

#include <utility>

namespace orv {
namespace {

constexpr std::int32_t kSaveEveryTicks = 60;
constexpr qsizetype kLeistungsTextLaenge = 64;

}  // namespace

CAuftrag::CAuftrag(CStoppUhren& owner)
    : owner_(&owner), trace_(owner.platform(), QStringLiteral("CAuftrag")) {}

CAuftrag::~CAuftrag() = default;

QDateTime CAuftrag::now() const {
    return owner_->platform().clock().now();
}

void CAuftrag::Init(CStoppUhren& owner, bool leerlauf, std::int32_t rowId, bool noInsert) {
    Procedure p(trace_, "CAuftrag");
    p.run([&] {
        owner_ = &owner;
        leerlauf_ = leerlauf;
        if (rowId == 0 && !noInsert) {
            owner.DbAccess().InsertAuftragZeiterfassung(*this);
        } else {
            id_ = rowId;
        }
        leistungen_.clear();
    });
}

QString CAuftrag::MandantLabel() const {
    if (leerlauf_) {
        return QStringLiteral("Leerlauf");
    }
    if (auftragId_ < 1) {
        return QStringLiteral("kein Auftrag zugeordnet");
    }
    if (mandantNr_ > 0) {
        return mandant_ + QStringLiteral(" (") + QString::number(mandantNr_) + QLatin1Char(')');
    }
    return mandant_;
}

QString CAuftrag::Angelegenheit() const {
    if (objektBezeichnung_.isEmpty()) {
        return angelegenheit_;
    }
    return angelegenheit_ + QStringLiteral(" (") + objektBezeichnung_ + QLatin1Char(')');
}

QString CAuftrag::ZeitText() const {
    return owner_->SekundenZeit(sekunden_);
}

QString CAuftrag::ZeitTextIndustrie() const {
    return rt::industrialHoursText(sekunden_);
}

QString CAuftrag::BeginnText() const {
    return rt::clockText(beginn_);
}

QString CAuftrag::EndeText() const {
    return rt::clockText(ende_);
}

QString CAuftrag::Key() const {
    return leerlauf_ ? LeerlaufKey() : QLatin1Char('a') + QString::number(id_);
}

QString CAuftrag::GetNumberText(std::int32_t n) {
    return n > 0 ? QString::number(n) : QString();
}

void CAuftrag::LeistungsTextVorgabe(const QString& text) {
    const QString bisher =
        std::exchange(leistungsTextVorgabe_, rt::left(text, kLeistungsTextLaenge));
    if (leistung_ != nullptr && &leistung_->Auftrag() == this) {
        leistung_->StandardTextUebernehmen(leistungsTextVorgabe_, bisher);
    }
}

void CAuftrag::LetzterTick(const QDateTime& time) {
    letzterTick_ = time;
    if (leistung_ != nullptr) {
        leistung_->LetzterTick(time);
    }
}

QString CAuftrag::PeriodeText() const {
    return rt::format00(monat_) + QLatin1Char('/') + rt::format0000(jahr_);
}

void CAuftrag::Increment() {
    Procedure p(trace_, "Increment");
    p.run([&] {
        const QDateTime current = now();
        tickCounter_ = rt::addLong(tickCounter_, 1);
        // Time is taken from the clock: a tick that came late counts every second it missed.
        const std::int64_t elapsed =
            letzterTick_.isValid() ? rt::secondsBetween(letzterTick_, current) : 1;
        sekunden_ = rt::addLong(sekunden_, rt::toLong(elapsed));
        letzterTick_ = current;
        if (leistung_ != nullptr) {
            leistung_->Increment();
        }
        if (tickCounter_ >= kSaveEveryTicks) {
            // Counted afresh before saving: a failed save is tried again a minute later
            // instead of never.
            tickCounter_ = 0;
            trace_.trace(QStringLiteral("Increment"));
            Speichern();
        }
    });
}

void CAuftrag::updateStatusRow() {
    writeRowStatus(owner_->platform().officeDatabase(), id_, status_);
}

void CAuftrag::Starten(bool setBeginn) {
    Procedure p(trace_, "Starten");
    // A new entry row, the order's and the entry's running state: a start happens or not.
    p.run([&] { RestorePoint(*owner_).keep(*this).run([&] { starten(setBeginn); }); });
}

void CAuftrag::starten(bool setBeginn) {
    // A productive order starts a new entry unless its current one still runs; the idle
    // order keeps counting on the entry it has.
    bool newEntry = false;
    if (leistung_ == nullptr) {
        newEntry = !leerlauf_ || leistungen_.empty();
        if (!newEntry) {
            leistung_ = leistungen_.at(1);
        }
    } else {
        newEntry = !leerlauf_ && leistung_->Status() != AuftragStatus_Aktiv;
    }
    if (newEntry) {
        neueLeistung();
    }
    const QDateTime current = now();
    letzterTick_ = current;
    status_ = AuftragStatus_Aktiv;
    updateStatusRow();
    if (setBeginn) {
        beginn_ = current;
    }
    leistung_->Starten(true);
    owner_->AuftragLaeuft(!leerlauf_);
}

void CAuftrag::neueLeistung() {
    auto leistung = std::make_shared<cLeistung>(*owner_);
    leistung->Init(*this, true);
    leistungen_.Add(leistung, leistung->Key());
    leistung_ = std::move(leistung);
}

void CAuftrag::LeistungErneuern() {
    Procedure p(trace_, "LeistungErneuern");
    p.run([&] {
        RestorePoint(*owner_).keep(*this).run([&] {
            neueLeistung();
            leistung_->Starten(true);
            // The seconds since the last tick are the new entry's, as they are the order's.
            leistung_->LetzterTick(letzterTick_);
        });
    });
}

void CAuftrag::Anhalten(bool pause, bool beenden) {
    Procedure p(trace_, "Anhalten");
    // The entry's end and the order's state and seconds reach the database together.
    p.run([&] { RestorePoint(*owner_).keep(*this).run([&] { anhalten(pause, beenden); }); });
}

void CAuftrag::anhalten(bool pause, bool beenden) {
    owner_->Angehalten(*this);
    if (!pause) {
        if (beenden) {
            ende_ = now();
            status_ = AuftragStatus_Beendet;
        } else {
            status_ = AuftragStatus_InAktiv;
        }
    }
    // An entry moved to another order is that order's now: its end and text stay as they are.
    if (leistung_ != nullptr && &leistung_->Auftrag() != this) {
        leistung_ = nullptr;
    }
    // The entry stops without a save of its own: Speichern writes it with the order.
    if (leistung_ != nullptr) {
        leistung_->Anhalten(pause, !leerlauf_);
        if (!leerlauf_) {
            leistung_->StandardTextUebernehmen(leistungsTextVorgabe_, leistungsTextVorgabe_);
        }
    }

    // A stretch of no seconds (started and stopped within one second) is no work: its entry
    // goes, instead of being booked one day as the smallest service.
    if (!pause && !leerlauf_ && leistung_ != nullptr && leistung_->Sekunden() <= 0 &&
        leistung_->Status() < AuftragStatus_Gebucht) {
        owner_->DbAccess().LeistungLoeschen(*leistung_);
        leistungen_.Remove(leistung_->Key());
        leistung_->Status(cLeistung::kStatusZeileGeloescht);
        leistung_ = nullptr;
    }
    Speichern();
}

void CAuftrag::Speichern() {
    Procedure p(trace_, "Speichern");
    // The order's seconds are its entries' seconds: the two rows never disagree in the database.
    p.run([&] {
        RestorePoint(*owner_).keep(*this).run([&] {
            owner_->DbAccess().UpdateAuftrag(*this);
            if (leistung_ != nullptr) {
                trace_.trace(QStringLiteral("moLeistung.Speichern False"));
                leistung_->Speichern(false);
            }
        });
    });
}

void CAuftrag::Loeschen() {
    Procedure p(trace_, "Loeschen");
    p.run([&] { owner_->DbAccess().AuftragLoeschen(*this); });
}

void CAuftrag::AuftragAendern(std::int32_t id) {
    Procedure p(trace_, "AuftragAendern");
    // The order's values and its rows' office order change together.
    p.run([&] { RestorePoint(*owner_).keep(*this).run([&] { auftragAendern(id); }); });
}

void CAuftrag::auftragAendern(std::int32_t id) {
    auftragId_ = id;
    if (id < 1) {
        mandantId_ = 0;
        mandantNr_ = 0;
        angelegenheitId_ = 0;
        angelegenheitNr_ = 0;
        auftragArtNr_ = 0;
        lfdNr_ = 0;
        objektNr_ = 0;
        jahr_ = 0;
        monat_ = 0;
        mandant_.clear();
        angelegenheit_.clear();
        angelegenheitErweitert_.clear();
        auftragArt_ = QStringLiteral("0");
        fakturiert_ = false;
    } else {
        std::unique_ptr<platform::OfficeOrder> order = owner_->platform().createOfficeOrder();
        order->Load(id);
        const platform::OfficeOrder::Values& v = order->values();
        mandantId_ = v.mandantId;
        mandant_ = v.mandant;
        mandantNr_ = v.mandantNr;
        angelegenheitId_ = v.angelegenheitId;
        angelegenheitNr_ = v.angelegenheitNr;
        angelegenheit_ = v.angelegenheit;
        angelegenheitErweitert_ = v.angelegenheitErweitert;
        auftragArtNr_ = v.auftragArtNr;
        auftragArt_ = v.auftragArt;
        lfdNr_ = v.lfdNr;
        objektNr_ = v.objektNr;
        jahr_ = v.jahr;
        monat_ = v.monat;
        fakturiert_ = v.rechnungen > 0;
        if (leistungsTextVorgabe_.isEmpty()) {
            leistungsTextVorgabe_ = rt::left(angelegenheit_, kLeistungsTextLaenge);
        }
        order->Close();
    }
    if (id_ != 0) {
        // The order's own row and every entry row that still exists follow the order.
        QString ids = QString::number(id_);
        for (const std::shared_ptr<cLeistung>& leistung : leistungen_) {
            if (leistung->Status() < AuftragStatus_Geloescht) {
                ids += QLatin1Char(',') + QString::number(leistung->Id());
            }
        }
        owner_->DbAccess().Execute(
            QStringLiteral("UPDATE tLeistungzeiterfassung Set idAuftrag = ") +
            QString::number(auftragId_) + QStringLiteral(" WHERE idLeistungzeiterfassung IN(") +
            ids + QLatin1Char(')'));
    }
}

bool CAuftrag::AuftragBrowsen() {
    Procedure p(trace_, "AuftragBrowsen");
    return p.run([&] {
        return applyPickedOrder(pickOrderInBrowser(*owner_, mandantNr_),
                                [&](std::int32_t auftragId) { AuftragAendern(auftragId); });
    });
}

bool CAuftrag::AuftragAnzeigen() {
    Procedure p(trace_, "AuftragAnzeigen");
    return p.run([&] {
        return applyPickedOrder(pickOrderInDisplay(*owner_, auftragId_),
                                [&](std::int32_t auftragId) { AuftragAendern(auftragId); });
    });
}

bool CAuftrag::LeistungenBeendet() const {
    Procedure p(trace_, "LeistungenBeendet");
    return p.run([&] {
        if (status_ < AuftragStatus_Aktiv) {
            return false;
        }
        for (const std::shared_ptr<cLeistung>& leistung : leistungen_) {
            if (leistung->Status() < AuftragStatus_Gebucht) {
                return false;
            }
        }
        return true;
    });
}

void CAuftrag::LeistungenStatusKorrigieren() {
    Procedure p(trace_, "LeistungenStatusKorrigieren");
    p.run([&] {
        if (status_ < AuftragStatus_Beendet) {
            return;
        }
        // A finished order has no running entry: one still marked as running is a remnant.
        for (const std::shared_ptr<cLeistung>& leistung : leistungen_) {
            if (leistung->Status() == AuftragStatus_Aktiv) {
                leistung->Status(AuftragStatus_Geloescht);
                trace_.trace(QStringLiteral("UpdateLeistung"));
                owner_->DbAccess().UpdateLeistung(*leistung);
            }
        }
    });
}

std::shared_ptr<cLeistung> CAuftrag::Leistung(const QString& key) const {
    Procedure p(trace_, "Leistung - Property Get");
    return p.run([&] { return leistungen_.item(key); });
}

}  // namespace orv
