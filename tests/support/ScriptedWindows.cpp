#include "ScriptedWindows.h"

#include "SettableClock.h"

namespace orv::test {

void FrmPauseScript::answer(std::int32_t seconds) {
    answer([this, seconds](CStoppUhren&, const QDateTime&) {
        clock->advance(seconds);
        return seconds;
    });
}

namespace {

template <class Script>
class Window {
public:
    explicit Window(Script& script) : s(script) {}

protected:
    Script& s;
};

class FrmStoppUhrWindow final : public platform::FrmStoppUhr, Window<FrmStoppUhrScript> {
public:
    using Window::Window;
    void Anzeigen(CStoppUhren& session) override {
        s.session = &session;
        ++s.anzeigen;
    }
    void AktualisiereZeiten() override { ++s.aktualisierungen; }
    void Schliessen() override { ++s.schliessen; }
    bool IstZuOberst() const override { return s.zuOberst; }
    void NachVorn() override {
        ++s.nachVorn;
        s.zuOberst = true;
    }
};

class FrmLeistungWindow final : public platform::FrmLeistung, Window<FrmLeistungScript> {
public:
    using Window::Window;
    void setModus(std::int32_t) override {}
    std::int32_t LeistungAnzeigen(cLeistung& entry, std::int32_t& seconds, std::int32_t& auftragId,
                                  bool unproduktiv) override {
        return s.ask(entry, seconds, auftragId, unproduktiv);
    }
    void AktualisiereZeiten() override {}
    bool AuftragGeaendert() const override { return false; }
};

class FrmPauseWindow final : public platform::FrmPause, Window<FrmPauseScript> {
public:
    using Window::Window;
    void Pause(CStoppUhren& session, const QDateTime& beginn, std::int32_t& seconds) override {
        seconds = s.ask(session, beginn);
    }
};

class FrmExterneZeitWindow final : public platform::FrmExterneZeit, Window<FrmExterneZeitScript> {
public:
    using Window::Window;
    std::int32_t ExterneZeitErfassen(CStoppUhren&, std::int32_t& seconds, QDateTime& von,
                                     QDateTime& bis) override {
        return s.ask(seconds, von, bis);
    }
};

class OrderBrowserWindow final : public platform::OrderBrowser, Window<OrderBrowserScript> {
public:
    using Window::Window;
    void setMitarbeiter(std::int32_t id) override { call_[0] = QString::number(id); }
    void setModus(std::int32_t modus) override { call_[1] = QString::number(modus); }
    void setFilter(const QString& field, std::int32_t value) override {
        call_[2] = field;
        call_[3] = QString::number(value);
    }
    void setAuftragAnlageErlaubt(bool allowed) override { call_[4] = QString::number(allowed); }
    void Anzeigen() override {
        s.calls << call_.join(QLatin1Char('|'));
        selection_ = s.ask();
    }
    std::vector<std::int32_t> AusgewaehlteAuftraege() const override { return selection_; }

private:
    QStringList call_{QStringLiteral("0"), QStringLiteral("0"), QString(), QStringLiteral("0"),
                      QStringLiteral("0")};
    std::vector<std::int32_t> selection_;
};

class OrderServiceWindow final : public platform::OrderService, Window<OrderServiceScript> {
public:
    OrderServiceWindow(OrderServiceScript& script, std::unique_ptr<platform::OrderService> office)
        : Window(script), office_(std::move(office)) {}
    void Begin(std::int32_t& action) override {
        action_ = action;
        if (action != kAktionAnzeigen) {
            office_->Begin(action);
        }
    }
    std::int32_t ParameterUBound(std::int32_t& action) override {
        return action == kAktionAnzeigen ? static_cast<std::int32_t>(kAnzeigenAuftrag)
                                         : office_->ParameterUBound(action);
    }
    void Execute(std::vector<std::int32_t>& parameters, std::int32_t& result) override {
        if (action_ != kAktionAnzeigen) {
            office_->Execute(parameters, result);
            return;
        }
        s.calls.push_back(parameters);
        result = s.ask(parameters);
    }
    void End() override {
        if (action_ != kAktionAnzeigen) {
            office_->End();
        } else {
            ++s.ended;
        }
        action_ = 0;
    }

private:
    std::unique_ptr<platform::OrderService> office_;
    std::int32_t action_ = 0;
};

}  // namespace

#define ORV_MAKE_WINDOW(Kind)                                          \
    std::unique_ptr<platform::Kind> makeWindow(Kind##Script& script) { \
        return std::make_unique<Kind##Window>(script);                 \
    }
ORV_MAKE_WINDOW(FrmStoppUhr)
ORV_MAKE_WINDOW(FrmLeistung)
ORV_MAKE_WINDOW(FrmPause)
ORV_MAKE_WINDOW(FrmExterneZeit)
ORV_MAKE_WINDOW(OrderBrowser)
#undef ORV_MAKE_WINDOW

std::unique_ptr<platform::OrderService> makeWindow(OrderServiceScript& script,
                                                   std::unique_ptr<platform::OrderService> office) {
    return std::make_unique<OrderServiceWindow>(script, std::move(office));
}

}  // namespace orv::test
