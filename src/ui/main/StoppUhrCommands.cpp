// The window's commands: pick the keys the employee points at, call the session, show the
// result. Every switch of stopwatches goes through the employee's switch, so the clock counts
// again before the window refreshes anything.

#include "ORVkStoppUhren/Enums.h"
#include "model/CAuftrag.h"
#include "model/cLeistung.h"
#include "platform/Clock.h"
#include "platform/MessageBoxes.h"
#include "platform/PlatformFactory.h"
#include "session/CStoppUhren.h"
#include "session/EmployeeSwitch.h"
#include "session/diagnostics/ObjectTrace.h"
#include "session/diagnostics/Procedure.h"
#include "ui/controls/ctlAuftrag.h"
#include "ui/main/DayOverviewWindow.h"
#include "ui/main/EntriesModel.h"
#include "ui/main/MainWindowTexts.h"
#include "ui/main/OrdersModel.h"
#include "ui/main/StoppUhrWidget.h"
#include "ui/main/ToolActions.h"
#include "ui/main/TrayIndicator.h"

#include <QApplication>
#include <QTabWidget>

#include <set>

namespace orv::ui {
namespace {

const std::set<QString> kNurVorgaenge{tool::kStart, tool::kStop, tool::kTelefon, tool::kBeenden,
                                      tool::kEigenschaften};
const std::set<QString> kNurLeistungen{tool::kBuchenEinzel,       tool::kBuchenSammel,
                                       tool::kLeistungBearbeiten, tool::kLeistungLoeschen,
                                       tool::kUmbuchenLeistung,   tool::kUmbuchenLeerlauf,
                                       tool::kLeistungUmbuchen};

}  // namespace

void StoppUhrWidget::befehl(const char* name, const std::function<void()>& body) {
    // One thing at a time: a second command while a command's dialog or question is open
    // would act on rows the first is about to change.
    if (session_ == nullptr || befehle_ > 0 || QApplication::activeModalWidget() != nullptr) {
        return;
    }
    ++befehle_;
    Procedure(*trace_, name).report([&] {
        // A key typed into the order control but not yet taken is taken first.
        if (tab() == 0 && auftraege_->order(aktuelleAuftragZeile()) != nullptr) {
            ctlAuftrag1_->PruefeAuftrag();
        }
        if (session_ != nullptr) {
            body();
        }
    });
    --befehle_;
    if (session_ != nullptr) {
        // The day's times change with edits, moves and bookings too, not only with the clock.
        AktualisiereZeiten();
        Procedure(*trace_, "ToolbarStellen").report([this] {
            ToolbarStellen();
            tray_->zustandStellen();
        });
    }
}

void StoppUhrWidget::barAuftrag_ToolClick(const QString& key) {
    // A tool of the other tab does nothing, wherever its click came from.
    if ((tab() != 0 && kNurVorgaenge.count(key) > 0) ||
        (tab() != 1 && kNurLeistungen.count(key) > 0)) {
        return;
    }
    const std::map<QString, std::function<void()>> aktionen{
        {tool::kNeu, [this] { Neu(); }},
        {tool::kAuftragAendern, [this] { AuftragAendern(false); }},
        {tool::kAuftragOeffnen, [this] { AuftragAendern(true); }},
        {tool::kEigenschaften, [this] { Eigenschaften(); }},
        {tool::kPause, [this] { Pause(); }},
        {tool::kStart, [this] { AuftragStarten(); }},
        {tool::kStop, [this] { AuftragAnhalten(); }},
        {tool::kTelefon, [this] { AuftragAnlegen(true); }},
        {tool::kBeenden, [this] { AuftragBeenden(); }},
        {tool::kBuchenEinzel, [this] { Buchen(false); }},
        {tool::kBuchenSammel, [this] { Buchen(true); }},
        {tool::kLeistungBearbeiten, [this] { LeistungAnzeigen(); }},
        {tool::kLeistungLoeschen, [this] { LeistungLoeschen(); }},
        {tool::kUmbuchenLeistung, [this] { LeistungUmbuchen(); }},
        {tool::kUmbuchenLeerlauf, [this] { LeerlaufUmbuchen(); }},
        {tool::kTagesuebersicht, [this] { TagesuebersichtZeigen(); }},
    };
    const auto it = aktionen.find(key);
    if (it != aktionen.end()) {
        befehl("barAuftrag_ToolClick", it->second);
    }
}

void StoppUhrWidget::meldung(const QString& text, const QString& titel) {
    platform_.messageBoxes().show(text, platform::MsgButtons::OkOnly,
                                  platform::MsgIcon::Information, titel);
}

void StoppUhrWidget::Neu() {
    tab() == 0 ? AuftragAnlegen(false) : LeistungErzeugen();
}

void StoppUhrWidget::AuftragAnlegen(bool telefon) {
    Procedure(*trace_, "AuftragAnlegen").run([&] {
        QString key;
        if (!stoppuhrWechseln(*session_, key, true) || session_->AktuellerAuftrag() == nullptr) {
            return;
        }
        const std::shared_ptr<CAuftrag> neu = session_->AktuellerAuftrag();
        if (telefon) {
            neu->LeistungsTextVorgabe(texte::kTelefonat +
                                      platform_.clock().now().toString(QStringLiteral("hh:mm:ss")));
            trace_->trace(QStringLiteral("AuftragAnlegen: Telefonat"));
            neu->Speichern();
        }
        int row = auftraege_->row(neu->Key());
        if (row < 0) {
            row = auftraege_->append(neu);
        }
        auftraege_->zeitAktualisiert();
        auftragZeileSetzen(row);
        ctlAuftrag1_->setFocus(Qt::OtherFocusReason);
        ctlAuftrag1_->FocusMandant();
    });
}

void StoppUhrWidget::AuftragStarten() {
    Procedure(*trace_, "AuftragStarten").run([&] {
        QString key = aktuellerKey();
        // The idle row and the row of the order that runs offer nothing to start.
        const bool laeuft = session_->AuftragLaeuft() && session_->AktuellerAuftrag() != nullptr &&
                            session_->AktuellerAuftrag()->Key() == key;
        if (key == CAuftrag::LeerlaufKey() || laeuft) {
            return;
        }
        stoppuhrWechseln(*session_, key);
        auftraege_->zeitAktualisiert();
        grdAuftraege_RowChange();
    });
}

void StoppUhrWidget::AuftragAnhalten() {
    Procedure(*trace_, "AuftragAnhalten").run([&] {
        stoppuhrAnhalten(*session_);
        auftraege_->zeitAktualisiert();
        grdAuftraege_RowChange();
    });
}

bool StoppUhrWidget::bleibtOffen(const CAuftrag& auftrag) const {
    return !session_->RechtLeistungAendern() && auftrag.AuftragId() <= 0;
}

void StoppUhrWidget::AuftragBeenden() {
    Procedure(*trace_, "AuftragBeenden").run([&] {
        const QString key = aktuellerKey();
        const std::shared_ptr<CAuftrag> auftrag = auftraege_->order(aktuelleAuftragZeile());
        if (auftrag == nullptr) {
            return;
        }
        if (bleibtOffen(*auftrag)) {
            meldung(texte::kOhneAuftrag, texte::kOhneAuftragTitel);
            return;
        }
        if (stoppuhrBeenden(*session_, key)) {
            auftraege_->remove(key);
        }
        auftragZeileSetzen(auftraege_->zaehlendeZeile());
    });
}

void StoppUhrWidget::TagesAbschluss() {
    Procedure(*trace_, "ctlTagesAbschluss_Click").run([&] {
        std::vector<std::shared_ptr<CAuftrag>> offen;
        for (int row = 1; row < auftraege_->rowCount(); ++row) {
            offen.push_back(auftraege_->order(row));
        }
        bool geaendert = false;
        bool ohneAuftrag = false;
        for (const std::shared_ptr<CAuftrag>& auftrag : offen) {
            if (bleibtOffen(*auftrag)) {
                ohneAuftrag = true;
                continue;
            }
            geaendert = stoppuhrBeenden(*session_, auftrag->Key()) || geaendert;
        }
        session_->LeistungenStatusKorrigieren();
        if (ohneAuftrag) {
            meldung(texte::kOhneAuftrag, texte::kOhneAuftragTitel);
        }
        if (geaendert) {
            AuftrageAnzeigen();
            tabStoppUhr_->setCurrentIndex(1);
        }
    });
}

void StoppUhrWidget::AuftragAendern(bool anzeigen) {
    Procedure(*trace_, anzeigen ? "AuftragOeffnen" : "AuftragAendern").run([&] {
        if (tab() == 0) {
            const std::shared_ptr<CAuftrag> auftrag = auftraege_->order(aktuelleAuftragZeile());
            if (auftrag != nullptr &&
                (anzeigen ? auftrag->AuftragAnzeigen() : auftrag->AuftragBrowsen())) {
                auftraege_->zeileAktualisieren(aktuelleAuftragZeile());
                grdAuftraege_RowChange(true);
            }
            return;
        }
        const std::shared_ptr<cLeistung> leistung = leistungen_->leistung(aktuelleLeistungZeile());
        if (leistung != nullptr && session_->RechtLeistungAendern() &&
            (anzeigen ? leistung->AuftragAnzeigen() : leistung->AuftragBrowsen())) {
            LeistungenAnzeigen();
        }
    });
}

void StoppUhrWidget::LeistungErzeugen() {
    Procedure(*trace_, "LeistungErzeugen").run([&] {
        if (!session_->RechtLeistungAendern()) {
            return;
        }
        QString auftragKey;
        QString leistungKey;
        std::int32_t sekunden = 0;
        if (session_->LeistungErzeugen(auftragKey, leistungKey, sekunden) ==
            BearbeitungStati_Geaendert) {
            LeistungenAnzeigen();
        }
    });
}

void StoppUhrWidget::LeistungLoeschen() {
    Procedure(*trace_, "LeistungLoeschen").run([&] {
        const std::vector<int> rows = markierteZeilen();
        if (rows.empty() || !session_->RechtLeistungAendern()) {
            return;
        }
        const platform::MsgAnswer antwort = platform_.messageBoxes().show(
            rows.size() == 1 ? texte::kLoeschenEine : texte::kLoeschenMehrere,
            platform::MsgButtons::YesNo, platform::MsgIcon::Question, texte::kLoeschenTitel);
        if (antwort != platform::MsgAnswer::Yes || session_ == nullptr) {
            EnableButtonsLeistungen();
            return;
        }
        std::vector<std::pair<QString, QString>> keys;
        for (int row : rows) {
            keys.emplace_back(leistungen_->auftragKey(row), leistungen_->leistungKey(row));
        }
        bool geaendert = false;
        for (auto& [auftragKey, leistungKey] : keys) {
            geaendert = session_->LeistungLoeschen(auftragKey, leistungKey) || geaendert;
        }
        session_->AuftragsSekundenNeuBerechnen();
        if (geaendert) {
            LeistungenAnzeigen();
        }
        EnableButtonsLeistungen();
    });
}

void StoppUhrWidget::LeistungUmbuchen() {
    Procedure(*trace_, "LeistungUmbuchen").run([&] {
        const int row = aktuelleLeistungZeile();
        if (row < 0) {
            return;
        }
        if (!session_->RechtLeistungAendern()) {
            meldung(texte::kRecht38, texte::kUmbuchenTitel);
        } else {
            QString auftragKey = leistungen_->auftragKey(row);
            session_->LeistungUmbuchen(auftragKey, leistungen_->leistungKey(row));
            LeistungenAnzeigen();
        }
        EnableButtonsLeistungen();
    });
}

void StoppUhrWidget::LeerlaufUmbuchen() {
    Procedure(*trace_, "LeerlaufUmbuchen").run([&] {
        QString leerlauf = CAuftrag::LeerlaufKey();
        session_->LeistungUmbuchen(leerlauf, QString());
        LeistungenAnzeigen();
    });
}

void StoppUhrWidget::LeistungAnzeigen() {
    Procedure(*trace_, "LeistungAnzeigen").run([&] {
        if (!session_->RechtLeistungAendern()) {
            meldung(texte::kRecht38, texte::kBearbeitenTitel);
            return;
        }
        const int row = aktuelleLeistungZeile();
        if (row < 0) {
            return;
        }
        QString auftragKey = leistungen_->auftragKey(row);
        QString leistungKey = leistungen_->leistungKey(row);
        const std::int32_t status = session_->LeistungBearbeiten(auftragKey, leistungKey);
        if (session_ == nullptr || status == BearbeitungStati_Abbruch) {
            return;
        }
        if (status == BearbeitungStati_Geloescht) {
            ObjectToView();
        }
        LeistungenAnzeigen();
    });
}

void StoppUhrWidget::Buchen(bool sammel) {
    Procedure(*trace_, sammel ? "BuchenSammel" : "BuchenEinzel").run([&] {
        if (aktuelleLeistungZeile() < 0) {
            return;
        }
        if (sammel && !session_->RechtLeistungenSummieren()) {
            meldung(texte::kRecht34, texte::kBuchenTitel);
            return;
        }
        struct Markiert {
            QString auftragKey;
            QString leistungKey;
            std::shared_ptr<cLeistung> leistung;
        };
        std::vector<Markiert> markiert;
        for (int row : markierteZeilen()) {
            markiert.push_back({leistungen_->auftragKey(row), leistungen_->leistungKey(row),
                                leistungen_->leistung(row)});
        }
        int freigegeben = 0;
        int ohneAuftrag = 0;
        for (Markiert& m : markiert) {
            if (session_->LeistungFreigeben(m.auftragKey, m.leistungKey)) {
                ++freigegeben;
            } else if (m.leistung->Auftrag().AuftragId() <= 0) {
                // An office order that no longer exists was told by the session already.
                ++ohneAuftrag;
            }
        }
        if (freigegeben > 0) {
            sammel ? session_->SammelBuchen() : session_->EinzelBuchen();
            LeistungenAnzeigen();
        }
        nichtGebuchtMelden(ohneAuftrag);
        EnableButtonsLeistungen();
    });
}

void StoppUhrWidget::nichtGebuchtMelden(int anzahl) {
    if (anzahl == 1) {
        meldung(texte::kNichtGebuchtEine, texte::kBuchenTitel);
    } else if (anzahl > 1) {
        meldung(QString::number(anzahl) + texte::kNichtGebuchtMehrere, texte::kBuchenTitel);
    }
}

void StoppUhrWidget::Pause() {
    Procedure(*trace_, "Pause").run([&] {
        session_->Pause();
        AktualisiereZeiten();
    });
}

void StoppUhrWidget::Eigenschaften() {
    Procedure(*trace_, "Eigenschaften").run([&] { session_->Eigenschaftenanzeigen(); });
}

void StoppUhrWidget::TagesuebersichtZeigen() {
    Procedure(*trace_, "TagesuebersichtZeigen").run([&] {
        // One overview beside the window; called again, it shows the day as it is now.
        if (uebersicht_ == nullptr) {
            uebersicht_ = new DayOverviewWindow(platform_, *session_, this);
        }
        uebersicht_->Aktualisieren();
        uebersicht_->show();
        uebersicht_->raise();
        uebersicht_->activateWindow();
    });
}

}  // namespace orv::ui
