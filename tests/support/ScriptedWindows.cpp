#include "ScriptedWindows.h"

#include "CallJournal.h"
#include "SettableClock.h"

#include <gtest/gtest.h>

namespace orv::test {

void ScriptedWindow::windowCreated() {
    ++created_;
    note(journal_, QLatin1String(name_) + QStringLiteral(".create"));
}

void ScriptedWindow::windowReleased() {
    ++released_;
    note(journal_, QLatin1String(name_) + QStringLiteral(".release"));
}

void ScriptedWindow::noteCall(const char* method) const {
    note(journal_, QLatin1String(name_) + QLatin1Char('.') + QLatin1String(method));
}

void ScriptedWindow::unscripted(const char* method) const {
    ADD_FAILURE() << name_ << "." << method << " ohne vorbereitete Antwort aufgerufen.";
}

void ScriptedWindow::leftOver(std::size_t count) const {
    if (count > 0) {
        ADD_FAILURE() << count << " vorbereitete Antwort(en) für " << name_
                      << " wurden nie abgefragt.";
    }
}

// --- frmStoppUhr

void ScriptedFrmStoppUhr::Anzeigen(CStoppUhren& session) {
    noteCall("Anzeigen");
    session_ = &session;
    ++anzeigen_;
}

void ScriptedFrmStoppUhr::AktualisiereZeiten() {
    noteCall("AktualisiereZeiten");
    ++aktualisierungen_;
}

void ScriptedFrmStoppUhr::Schliessen() {
    noteCall("Schliessen");
    ++schliessen_;
}

void ScriptedFrmStoppUhr::NachVorn() {
    noteCall("NachVorn");
    ++nachVorn_;
    zuOberst_ = true;
}

// --- frmLeistung

void ScriptedFrmLeistung::windowCreated() {
    ScriptedWindow::windowCreated();
    modus_ = 0;
}

std::int32_t ScriptedFrmLeistung::LeistungAnzeigen(cLeistung& entry, std::int32_t& seconds,
                                                   std::int32_t& auftragId, bool unproduktiv) {
    noteCall("LeistungAnzeigen");
    calls_.push_back({created_, modus_, &entry, seconds, auftragId, unproduktiv});
    if (!answers_.empty()) {
        const LeistungAnzeigenAnswer answer = answers_.front();
        answers_.pop_front();
        if (answer.seconds) {
            seconds = *answer.seconds;
        }
        if (answer.auftragId) {
            auftragId = *answer.auftragId;
        }
        return answer.status;
    }
    if (handler_) {
        return handler_(entry, seconds, auftragId, unproduktiv);
    }
    unscripted("LeistungAnzeigen");
    return outcome::kAbbruch;
}

void ScriptedFrmLeistung::AktualisiereZeiten() {
    noteCall("AktualisiereZeiten");
    ++aktualisierungen_;
}

// --- frmLeistungUmbuchen

std::int32_t ScriptedFrmLeistungUmbuchen::LeistungUmbuchen(cLeistung& entry) {
    noteCall("LeistungUmbuchen");
    return respond(entry, false);
}

std::int32_t ScriptedFrmLeistungUmbuchen::LeerlaufUmbuchen(cLeistung& idleEntry) {
    noteCall("LeerlaufUmbuchen");
    return respond(idleEntry, true);
}

std::int32_t ScriptedFrmLeistungUmbuchen::respond(cLeistung& entry, bool leerlauf) {
    calls_.push_back({created_, leerlauf, &entry});
    if (!answers_.empty()) {
        const std::int32_t status = answers_.front();
        answers_.pop_front();
        return status;
    }
    if (handler_) {
        return handler_(entry, leerlauf);
    }
    unscripted(leerlauf ? "LeerlaufUmbuchen" : "LeistungUmbuchen");
    return outcome::kAbbruch;
}

// --- frmPause

void ScriptedFrmPause::Pause(CStoppUhren& session, const QDateTime& beginn, std::int32_t& seconds) {
    noteCall("Pause");
    calls_.push_back({created_, &session, beginn});
    if (!answers_.empty()) {
        seconds = answers_.front();
        answers_.pop_front();
        if (clock_ != nullptr) {
            clock_->advance(seconds);
        }
        return;
    }
    if (handler_) {
        seconds = handler_(session, beginn);
        return;
    }
    unscripted("Pause");
    seconds = 0;
}

// --- frmExterneZeit

ExterneZeitAnswer ExterneZeitAnswer::accepted(const QDateTime& von, const QDateTime& bis) {
    return {outcome::kOk, static_cast<std::int32_t>(von.secsTo(bis)), von, bis};
}

ExterneZeitAnswer ExterneZeitAnswer::cancelled() {
    return {outcome::kCancel, 0, {}, {}};
}

std::int32_t ScriptedFrmExterneZeit::ExterneZeitErfassen(CStoppUhren& session,
                                                         std::int32_t& seconds, QDateTime& von,
                                                         QDateTime& bis) {
    noteCall("ExterneZeitErfassen");
    calls_.push_back({created_, &session});
    ExterneZeitAnswer answer = ExterneZeitAnswer::cancelled();
    if (answers_.empty()) {
        unscripted("ExterneZeitErfassen");
    } else {
        answer = answers_.front();
        answers_.pop_front();
    }
    seconds = answer.seconds;
    von = answer.von;
    bis = answer.bis;
    return answer.result;
}

// --- frmEigenschaften

std::int32_t ScriptedFrmEigenschaften::Eigenschaftenanzeigen(CAuftrag& order) {
    noteCall("Eigenschaftenanzeigen");
    calls_.push_back({created_, &order});
    if (!answers_.empty()) {
        const std::int32_t result = answers_.front();
        answers_.pop_front();
        return result;
    }
    if (handler_) {
        return handler_(order);
    }
    unscripted("Eigenschaftenanzeigen");
    return outcome::kCancel;
}

}  // namespace orv::test
