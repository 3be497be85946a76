#include "ScriptedOrderDialogs.h"

#include <gtest/gtest.h>

namespace orv::test {

// --- order browser

void ScriptedOrderBrowser::windowCreated() {
    ScriptedWindow::windowCreated();
    current_ = OrderBrowserCall{};
    current_.window = created_;
    selection_.clear();
}

void ScriptedOrderBrowser::setFilter(const QString& field, std::int32_t value) {
    current_.filterField = field;
    current_.filterValue = value;
}

void ScriptedOrderBrowser::Anzeigen() {
    noteCall("Anzeigen");
    calls_.push_back(current_);
    selection_.clear();
    if (answers_.empty()) {
        unscripted("Anzeigen");
        return;
    }
    selection_ = std::move(answers_.front());
    answers_.pop_front();
}

// --- order service

OrderServiceAnswer OrderServiceAnswer::gewaehlt(std::int32_t auftragId) {
    return {auftragsdienst::kErledigt, auftragId, 1};
}

OrderServiceAnswer OrderServiceAnswer::angelegt(std::int32_t auftragId) {
    return {auftragsdienst::kErledigt, auftragId, std::nullopt};
}

OrderServiceAnswer OrderServiceAnswer::abgebrochen() {
    return {0, std::nullopt, std::nullopt};
}

void ScriptedOrderService::windowCreated() {
    ScriptedWindow::windowCreated();
    aktion_.reset();
}

void ScriptedOrderService::Begin(std::int32_t& actionCode) {
    noteCall("Begin");
    ++begun_;
    aktion_ = actionCode;
}

namespace {

std::optional<std::int32_t> upperBound(std::int32_t aktion) {
    switch (aktion) {
        case auftragsdienst::kAnlegen:
            return auftragsdienst::kAnlegenUBound;
        case auftragsdienst::kAnzeigen:
            return auftragsdienst::kAnzeigenUBound;
        default:
            return std::nullopt;
    }
}
static_assert(auftragsdienst::kAuftrag <= auftragsdienst::kAnzeigenUBound &&
              auftragsdienst::kObjektNr <= auftragsdienst::kAnlegenUBound);

}  // namespace

std::int32_t ScriptedOrderService::ParameterUBound(std::int32_t& actionCode) {
    noteCall("ParameterUBound");
    const std::optional<std::int32_t> bound = upperBound(actionCode);
    if (!bound) {
        ADD_FAILURE() << "OrderService kennt die Aktion " << actionCode << " nicht.";
    }
    return bound.value_or(0);
}

void ScriptedOrderService::Execute(std::vector<std::int32_t>& parameters, std::int32_t& result) {
    noteCall("Execute");
    if (!aktion_) {
        ADD_FAILURE() << "OrderService.Execute ohne vorheriges Begin aufgerufen.";
    }
    const std::int32_t aktion = aktion_.value_or(0);
    calls_.push_back({created_, aktion, parameters, 0});
    OrderServiceAnswer answer = OrderServiceAnswer::abgebrochen();
    if (answers_.empty()) {
        unscripted("Execute");
    } else {
        answer = answers_.front();
        answers_.pop_front();
    }
    calls_.back().result = answer.result;
    result = answer.result;
    // Only the actions the office knows have an array to answer in.
    const std::optional<std::int32_t> bound = upperBound(aktion);
    if (!bound) {
        if (aktion_) {
            ADD_FAILURE() << "OrderService.Execute für die unbekannte Aktion " << aktion << ".";
        }
        return;
    }
    if (parameters.size() <= static_cast<std::size_t>(*bound)) {
        ADD_FAILURE() << "OrderService.Execute: " << parameters.size() << " Parameter, die Aktion "
                      << aktion << " verlangt Elemente 0 bis " << *bound << ".";
        return;
    }
    if (answer.anzahl) {
        parameters[auftragsdienst::kAnzahl] = *answer.anzahl;
    }
    if (answer.auftragId) {
        parameters[auftragsdienst::kAuftrag] = *answer.auftragId;
    }
}

void ScriptedOrderService::End() {
    noteCall("End");
    ++ended_;
    aktion_.reset();
}

}  // namespace orv::test
