#pragma once

#include "ScriptedWindows.h"

#include "platform/host/OrderObjects.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace orv::test {

// What the component set on one order browser before showing it.
struct OrderBrowserCall {
    int window;  // 1 for the first browser created
    std::int32_t mitarbeiterId;
    std::int32_t modus;
    QString filterField;  // empty when no filter was set
    std::int32_t filterValue;
    bool auftragAnlageErlaubt;
};

// The employee at the office's order browser. Each browser starts unset; every showing takes
// the next scripted selection, which the browser then reports as selected. An empty selection
// is a user who closed the browser without picking an order.
class ScriptedOrderBrowser final : public platform::OrderBrowser, public ScriptedWindow {
public:
    ScriptedOrderBrowser() : ScriptedWindow("AuftragBrowser") {}
    ~ScriptedOrderBrowser() override { leftOver(answers_.size()); }

    void setMitarbeiter(std::int32_t mitarbeiterId) override {
        current_.mitarbeiterId = mitarbeiterId;
    }
    void setModus(std::int32_t modus) override { current_.modus = modus; }
    void setFilter(const QString& field, std::int32_t value) override;
    void setAuftragAnlageErlaubt(bool allowed) override { current_.auftragAnlageErlaubt = allowed; }
    void Anzeigen() override;
    std::vector<std::int32_t> AusgewaehlteAuftraege() const override { return selection_; }

    void answer(std::vector<std::int32_t> auftragIds) { answers_.push_back(std::move(auftragIds)); }
    const std::vector<OrderBrowserCall>& calls() const { return calls_; }

    void windowCreated() override;

private:
    OrderBrowserCall current_{};
    std::vector<std::int32_t> selection_;
    std::deque<std::vector<std::int32_t>> answers_;
    std::vector<OrderBrowserCall> calls_;
};

// The parameter array of the office's order service, by action, as the component fills it
// (platform::OrderService names the positions of action 10). Action 4 (create an order) takes
// the new order's key: client id, year, month, running number, matter id and object number in
// the elements named below, and hands the new order out in element 3.
namespace auftragsdienst {
using platform::OrderService;
inline constexpr std::int32_t kAnlegen = OrderService::kAktionAnlegen;
inline constexpr std::int32_t kAnzeigen = OrderService::kAktionAnzeigen;
inline constexpr std::int32_t kAnlegenUBound = 12;
inline constexpr std::int32_t kAnzeigenUBound = 3;
inline constexpr std::size_t kFenster = 0;
inline constexpr std::size_t kMitarbeiter = OrderService::kAnzeigenMitarbeiter;  // action 10
inline constexpr std::size_t kAnzahl = OrderService::kAnzeigenAnzahl;            // action 10
inline constexpr std::size_t kAuftrag = OrderService::kAnzeigenAuftrag;
// Action 4: the new order's key
inline constexpr std::size_t kMandant = 1;
inline constexpr std::size_t kJahr = 5;
inline constexpr std::size_t kMonat = 6;
inline constexpr std::size_t kLfdNr = 7;
inline constexpr std::size_t kAngelegenheit = 8;
inline constexpr std::size_t kObjektNr = 12;
inline constexpr std::int32_t kErledigt = OrderService::kErledigt;
}  // namespace auftragsdienst

struct OrderServiceAnswer {
    std::int32_t result;
    std::optional<std::int32_t> auftragId;  // written to element 3 when set
    std::optional<std::int32_t> anzahl;     // written to element 2 when set

    // Action 10: the user chose this one order.
    static OrderServiceAnswer gewaehlt(std::int32_t auftragId);
    // Action 4: the office created this order.
    static OrderServiceAnswer angelegt(std::int32_t auftragId);
    // Either action: the user cancelled; the array stays as it was.
    static OrderServiceAnswer abgebrochen();
};

struct OrderServiceCall {
    int service;  // 1 for the first service object created
    std::int32_t aktion;
    std::vector<std::int32_t> parameter;  // as the component handed them in
    std::int32_t result;
};

// The employee at the dialogs of the office's order service. Every Execute takes the next
// scripted answer and writes it into the array as the office would. An array shorter than the
// upper bound the service reported, or an Execute outside Begin and End, fails the test.
class ScriptedOrderService final : public platform::OrderService, public ScriptedWindow {
public:
    ScriptedOrderService() : ScriptedWindow("OrderService") {}
    ~ScriptedOrderService() override { leftOver(answers_.size()); }

    void Begin(std::int32_t& actionCode) override;
    std::int32_t ParameterUBound(std::int32_t& actionCode) override;
    void Execute(std::vector<std::int32_t>& parameters, std::int32_t& result) override;
    void End() override;

    void answer(const OrderServiceAnswer& answer) { answers_.push_back(answer); }
    const std::vector<OrderServiceCall>& calls() const { return calls_; }
    int begun() const { return begun_; }
    int ended() const { return ended_; }

    void windowCreated() override;

private:
    std::optional<std::int32_t> aktion_;  // set between Begin and End
    int begun_ = 0;
    int ended_ = 0;
    std::deque<OrderServiceAnswer> answers_;
    std::vector<OrderServiceCall> calls_;
};

}  // namespace orv::test
