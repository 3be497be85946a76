#include "session/CStoppUhren.h"

#include "platform/PlatformFactory.h"
#include "platform/Windows.h"
#include "platform/host/PersonObjects.h"
#include "session/diagnostics/Procedure.h"

namespace orv {

_CStoppUhren::~_CStoppUhren() = default;

CStoppUhren::CStoppUhren(platform::PlatformFactory& platform)
    : platform_(platform), trace_(platform, QStringLiteral("CStoppUhren")) {}

CStoppUhren::~CStoppUhren() = default;

void CStoppUhren::Anzeigen() {}

void CStoppUhren::Ausblenden() {}

bool CStoppUhren::Starten(std::int32_t& lMitarbeiter) {
    mitarbeiterId_ = lMitarbeiter;
    Procedure p(trace_, "Starten");
    p.setEndText(QStringLiteral("Ende Begin Starten"));
    return p.report(
        [&] {
            StoppUhrenAnzeigen();
            return true;
        },
        false);
}

bool CStoppUhren::Beenden() {
    Procedure p(trace_, "Beenden");
    return p.report(
        [&] {
            // Without a running clock there is no session to end.
            return false;
        },
        false);
}

void CStoppUhren::StoppUhrenAnzeigen() {
    Procedure p(trace_, "StoppUhrenAnzeigen");
    p.run([&] {
        if (frmStoppUhr_ == nullptr) {
            frmStoppUhr_ = platform_.createFrmStoppUhr();
        }
        frmStoppUhr_->Anzeigen(*this);
    });
}

std::int32_t CStoppUhren::lookUpPersonNumber(std::int32_t id, bool kanzlei) {
    std::unique_ptr<platform::PersonStamm> person = platform_.createPersonStamm();
    person->setId(id);
    person->setKanzlei(kanzlei);
    person->Load(true);
    const std::int32_t number = person->Nummer();
    person->Close();
    return number;
}

void CStoppUhren::Mandant(std::int32_t id) {
    Procedure p(trace_, "Mandant - Property Let");
    p.run([&] {
        mlMandant_ = id;
        mlMandantNr_ = lookUpPersonNumber(id, false);
    });
}

void CStoppUhren::Kanzlei(std::int32_t id) {
    Procedure p(trace_, "Kanzlei - Property Let");
    p.run([&] {
        mlKanzlei_ = id;
        mlKanzleiNr_ = lookUpPersonNumber(id, true);
    });
}

void CStoppUhren::gSetPsIdAndNumber(bool bKanzlei, std::int32_t lIDPerson, std::int32_t lManNr) {
    Procedure p(trace_, "gSetPsIdAndNumber");
    p.run([&] {
        mlMandant_ = 0;
        mlMandantNr_ = 0;
        mlKanzlei_ = 0;
        mlKanzleiNr_ = 0;
        if (lIDPerson != 0) {
            if (bKanzlei) {
                mlKanzlei_ = lIDPerson;
                mlKanzleiNr_ = lManNr;
            } else {
                mlMandant_ = lIDPerson;
                mlMandantNr_ = lManNr;
            }
        }
        if (trace_.enabled()) {
            p.setEndText(QStringLiteral("End gSetPsIdAndNumber mlMandant = %1, mlMandantNr = %2, "
                                        "mlKanzlei = %3, mlKanzleiNr = %4")
                             .arg(mlMandant_)
                             .arg(mlMandantNr_)
                             .arg(mlKanzlei_)
                             .arg(mlKanzleiNr_));
        }
    });
}

std::int32_t CStoppUhren::plMitarbeiterNr() {
    Procedure p(trace_, "plMitarbeiterNr - Property Get");
    return p.run([&] {
        if (mitarbeiterNr_ == 0) {
            p.setExtra(platform_.erstellungsInfo().Info(
                QStringLiteral("Set oMit = New srvQeMit.QeMitarbeiterClass"),
                QStringLiteral("srvQeMit.dll")));
            std::unique_ptr<platform::Mitarbeiter> mitarbeiter = platform_.createMitarbeiter();
            p.clearExtra();
            mitarbeiter->setId(mitarbeiterId_);
            mitarbeiter->Load(true);
            mitarbeiterNr_ = mitarbeiter->Nummer();
            mitarbeiter->Close();
        }
        return mitarbeiterNr_;
    });
}

}  // namespace orv

extern "C" ORV_EXPORT orv::_CStoppUhren* ORVkStoppUhren_Create(
    orv::platform::PlatformFactory* platform) {
    return new orv::CStoppUhren(*platform);
}
