#include "FakePlatform.h"

#include "platform/host/OfficeServices.h"
#include "platform/host/PersonObjects.h"

namespace orv::test {
namespace {

// What the component receives in place of a timer or window: it forwards to the object the
// platform keeps, so the test still reads that object after the component released this one.

class TimerHandle final : public platform::TimerObject {
public:
    explicit TimerHandle(ManualTimer& timer) : timer_(timer) {}
    ~TimerHandle() override { timer_.markReleased(); }
    void take(platform::TimerNotify* notify) override { timer_.take(notify); }
    void start() override { timer_.start(); }
    void stop() override { timer_.stop(); }
    void finish() override { timer_.finish(); }

private:
    ManualTimer& timer_;
};

// Counts the window's creation and release on the scripted user.
template <class Scripted>
class WindowLife {
protected:
    explicit WindowLife(Scripted& scripted) : scripted_(scripted) { scripted_.windowCreated(); }
    ~WindowLife() { scripted_.windowReleased(); }
    Scripted& scripted_;
};

class FrmStoppUhrHandle final : public platform::FrmStoppUhr, WindowLife<ScriptedFrmStoppUhr> {
public:
    explicit FrmStoppUhrHandle(ScriptedFrmStoppUhr& s) : WindowLife(s) {}
    void Anzeigen(CStoppUhren& session) override { scripted_.Anzeigen(session); }
    void AktualisiereZeiten() override { scripted_.AktualisiereZeiten(); }
    void Schliessen() override { scripted_.Schliessen(); }
    bool IstZuOberst() const override { return scripted_.IstZuOberst(); }
    void NachVorn() override { scripted_.NachVorn(); }
};

class FrmLeistungHandle final : public platform::FrmLeistung, WindowLife<ScriptedFrmLeistung> {
public:
    explicit FrmLeistungHandle(ScriptedFrmLeistung& s) : WindowLife(s) {}
    void setModus(std::int32_t modus) override { scripted_.setModus(modus); }
    std::int32_t LeistungAnzeigen(cLeistung& entry, std::int32_t& seconds, std::int32_t& auftragId,
                                  bool unproduktiv) override {
        return scripted_.LeistungAnzeigen(entry, seconds, auftragId, unproduktiv);
    }
    void AktualisiereZeiten() override { scripted_.AktualisiereZeiten(); }
    bool AuftragGeaendert() const override { return scripted_.AuftragGeaendert(); }
};

class FrmLeistungUmbuchenHandle final : public platform::FrmLeistungUmbuchen,
                                        WindowLife<ScriptedFrmLeistungUmbuchen> {
public:
    explicit FrmLeistungUmbuchenHandle(ScriptedFrmLeistungUmbuchen& s) : WindowLife(s) {}
    std::int32_t LeistungUmbuchen(cLeistung& entry) override {
        return scripted_.LeistungUmbuchen(entry);
    }
    std::int32_t LeerlaufUmbuchen(cLeistung& idleEntry) override {
        return scripted_.LeerlaufUmbuchen(idleEntry);
    }
};

class FrmPauseHandle final : public platform::FrmPause, WindowLife<ScriptedFrmPause> {
public:
    explicit FrmPauseHandle(ScriptedFrmPause& s) : WindowLife(s) {}
    void Pause(CStoppUhren& session, const QDateTime& beginn, std::int32_t& seconds) override {
        scripted_.Pause(session, beginn, seconds);
    }
};

class FrmExterneZeitHandle final : public platform::FrmExterneZeit,
                                   WindowLife<ScriptedFrmExterneZeit> {
public:
    explicit FrmExterneZeitHandle(ScriptedFrmExterneZeit& s) : WindowLife(s) {}
    std::int32_t ExterneZeitErfassen(CStoppUhren& session, std::int32_t& seconds, QDateTime& von,
                                     QDateTime& bis) override {
        return scripted_.ExterneZeitErfassen(session, seconds, von, bis);
    }
};

class FrmEigenschaftenHandle final : public platform::FrmEigenschaften,
                                     WindowLife<ScriptedFrmEigenschaften> {
public:
    explicit FrmEigenschaftenHandle(ScriptedFrmEigenschaften& s) : WindowLife(s) {}
    std::int32_t Eigenschaftenanzeigen(CAuftrag& order) override {
        return scripted_.Eigenschaftenanzeigen(order);
    }
};

class OrderBrowserHandle final : public platform::OrderBrowser, WindowLife<ScriptedOrderBrowser> {
public:
    explicit OrderBrowserHandle(ScriptedOrderBrowser& s) : WindowLife(s) {}
    void setMitarbeiter(std::int32_t mitarbeiterId) override {
        scripted_.setMitarbeiter(mitarbeiterId);
    }
    void setModus(std::int32_t modus) override { scripted_.setModus(modus); }
    void setFilter(const QString& field, std::int32_t value) override {
        scripted_.setFilter(field, value);
    }
    void setAuftragAnlageErlaubt(bool allowed) override {
        scripted_.setAuftragAnlageErlaubt(allowed);
    }
    void Anzeigen() override { scripted_.Anzeigen(); }
    std::vector<std::int32_t> AusgewaehlteAuftraege() const override {
        return scripted_.AusgewaehlteAuftraege();
    }
};

class OrderServiceHandle final : public platform::OrderService, WindowLife<ScriptedOrderService> {
public:
    explicit OrderServiceHandle(ScriptedOrderService& s) : WindowLife(s) {}
    void Begin(std::int32_t& actionCode) override { scripted_.Begin(actionCode); }
    std::int32_t ParameterUBound(std::int32_t& actionCode) override {
        return scripted_.ParameterUBound(actionCode);
    }
    void Execute(std::vector<std::int32_t>& parameters, std::int32_t& result) override {
        scripted_.Execute(parameters, result);
    }
    void End() override { scripted_.End(); }
};

}  // namespace

FakePlatform::FakePlatform(db::Database& database, Tracing tracing)
    : OfficePlatformFactory(database),
      trace_(std::make_shared<RecordingTraceLogger>(tracing == Tracing::On)) {
    boxes_.setJournal(&journal_);
    frmStoppUhr_.setJournal(&journal_);
    frmLeistung_.setJournal(&journal_);
    frmLeistungUmbuchen_.setJournal(&journal_);
    frmPause_.setJournal(&journal_);
    frmPause_.setClock(&clock_);
    frmExterneZeit_.setJournal(&journal_);
    frmEigenschaften_.setJournal(&journal_);
    orderBrowser_.setJournal(&journal_);
    orderService_.setJournal(&journal_);
}

FakePlatform::~FakePlatform() = default;

void FakePlatform::failCreation(Creation what, bool fail) {
    if (fail) {
        failing_.insert(what);
    } else {
        failing_.erase(what);
    }
}

std::shared_ptr<platform::TraceLogger> FakePlatform::createTraceLogger() {
    ++traceLoggersCreated_;
    return trace_;
}

// A failing creation goes to the base class, which raises the error a missing component gives.

std::unique_ptr<platform::ErrorServer> FakePlatform::createErrorServer() {
    journal_.add(QStringLiteral("ErrorServer.create"));
    if (fails(Creation::ErrorServer)) {
        return PlatformFactory::createErrorServer();
    }
    ++errorServersCreated_;
    return std::make_unique<RecordingErrorServer>(errorReports_, errorServerShowFails_, &journal_);
}

std::unique_ptr<platform::TimerObject> FakePlatform::createTimer() {
    if (fails(Creation::Timer)) {
        return PlatformFactory::createTimer();
    }
    timers_.push_back(std::make_unique<ManualTimer>());
    timers_.back()->setJournal(&journal_);
    journal_.add(QStringLiteral("Timer.create"));
    return std::make_unique<TimerHandle>(*timers_.back());
}

std::unique_ptr<platform::FrmStoppUhr> FakePlatform::createFrmStoppUhr() {
    if (fails(Creation::FrmStoppUhr)) {
        return PlatformFactory::createFrmStoppUhr();
    }
    return std::make_unique<FrmStoppUhrHandle>(frmStoppUhr_);
}

std::unique_ptr<platform::FrmLeistung> FakePlatform::createFrmLeistung() {
    if (fails(Creation::FrmLeistung)) {
        return PlatformFactory::createFrmLeistung();
    }
    return std::make_unique<FrmLeistungHandle>(frmLeistung_);
}

std::unique_ptr<platform::FrmLeistungUmbuchen> FakePlatform::createFrmLeistungUmbuchen() {
    if (fails(Creation::FrmLeistungUmbuchen)) {
        return PlatformFactory::createFrmLeistungUmbuchen();
    }
    return std::make_unique<FrmLeistungUmbuchenHandle>(frmLeistungUmbuchen_);
}

std::unique_ptr<platform::FrmPause> FakePlatform::createFrmPause() {
    if (fails(Creation::FrmPause)) {
        return PlatformFactory::createFrmPause();
    }
    return std::make_unique<FrmPauseHandle>(frmPause_);
}

std::unique_ptr<platform::FrmExterneZeit> FakePlatform::createFrmExterneZeit() {
    if (fails(Creation::FrmExterneZeit)) {
        return PlatformFactory::createFrmExterneZeit();
    }
    return std::make_unique<FrmExterneZeitHandle>(frmExterneZeit_);
}

std::unique_ptr<platform::FrmEigenschaften> FakePlatform::createFrmEigenschaften() {
    if (fails(Creation::FrmEigenschaften)) {
        return PlatformFactory::createFrmEigenschaften();
    }
    return std::make_unique<FrmEigenschaftenHandle>(frmEigenschaften_);
}

std::unique_ptr<platform::PersonStamm> FakePlatform::createPersonStamm() {
    if (fails(Creation::PersonStamm)) {
        return PlatformFactory::createPersonStamm();
    }
    return OfficePlatformFactory::createPersonStamm();
}

std::unique_ptr<platform::Mitarbeiter> FakePlatform::createMitarbeiter() {
    if (fails(Creation::Mitarbeiter)) {
        return PlatformFactory::createMitarbeiter();
    }
    return OfficePlatformFactory::createMitarbeiter();
}

std::unique_ptr<platform::OfficeOrder> FakePlatform::createOfficeOrder() {
    if (fails(Creation::OfficeOrder)) {
        return PlatformFactory::createOfficeOrder();
    }
    return OfficePlatformFactory::createOfficeOrder();
}

std::unique_ptr<platform::OrderBrowser> FakePlatform::createOrderBrowser() {
    if (fails(Creation::OrderBrowser)) {
        return PlatformFactory::createOrderBrowser();
    }
    return std::make_unique<OrderBrowserHandle>(orderBrowser_);
}

std::unique_ptr<platform::OrderService> FakePlatform::createOrderService() {
    if (fails(Creation::OrderService)) {
        return PlatformFactory::createOrderService();
    }
    return std::make_unique<OrderServiceHandle>(orderService_);
}

std::unique_ptr<platform::GlobaleWerte> FakePlatform::createGlobaleWerte() {
    if (fails(Creation::GlobaleWerte)) {
        return PlatformFactory::createGlobaleWerte();
    }
    return OfficePlatformFactory::createGlobaleWerte();
}

std::unique_ptr<platform::AnwesenheitsObjekt> FakePlatform::createAnwesenheitsObjekt() {
    if (fails(Creation::AnwesenheitsObjekt)) {
        return PlatformFactory::createAnwesenheitsObjekt();
    }
    return OfficePlatformFactory::createAnwesenheitsObjekt();
}

std::unique_ptr<platform::CQeGgwBasis> FakePlatform::createCQeGgwBasis() {
    if (fails(Creation::CQeGgwBasis)) {
        return PlatformFactory::createCQeGgwBasis();
    }
    return OfficePlatformFactory::createCQeGgwBasis();
}

std::unique_ptr<platform::CQeLeistung> FakePlatform::createCQeLeistung() {
    if (fails(Creation::CQeLeistung)) {
        return PlatformFactory::createCQeLeistung();
    }
    return OfficePlatformFactory::createCQeLeistung();
}

std::unique_ptr<platform::AuftragBenachrichtigung> FakePlatform::createAuftragBenachrichtigung() {
    if (fails(Creation::AuftragBenachrichtigung)) {
        return PlatformFactory::createAuftragBenachrichtigung();
    }
    return OfficePlatformFactory::createAuftragBenachrichtigung();
}

std::unique_ptr<platform::BuchungsNachlauf> FakePlatform::createBuchungsNachlauf() {
    if (fails(Creation::BuchungsNachlauf)) {
        return PlatformFactory::createBuchungsNachlauf();
    }
    return OfficePlatformFactory::createBuchungsNachlauf();
}

}  // namespace orv::test
