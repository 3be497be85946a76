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

class FrmStoppUhrWindow final : public platform::FrmStoppUhr {
public:
    void Anzeigen(CStoppUhren&) override {}
    void AktualisiereZeiten() override {}
    void Schliessen() override {}
    bool IstZuOberst() const override { return true; }
    void NachVorn() override {}
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

}  // namespace

#define ORV_MAKE_WINDOW(Kind)                                          \
    std::unique_ptr<platform::Kind> makeWindow(Kind##Script& script) { \
        return std::make_unique<Kind##Window>(script);                 \
    }
ORV_MAKE_WINDOW(FrmLeistung)
ORV_MAKE_WINDOW(FrmPause)
ORV_MAKE_WINDOW(FrmExterneZeit)
ORV_MAKE_WINDOW(OrderBrowser)
#undef ORV_MAKE_WINDOW

std::unique_ptr<platform::FrmStoppUhr> makeMainWindow() {
    return std::make_unique<FrmStoppUhrWindow>();
}

}  // namespace orv::test
