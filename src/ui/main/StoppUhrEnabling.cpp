// Which commands the window offers, and how it names them, for the row the employee points at.

#include "model/CAuftrag.h"
#include "office/widgets/ctlButton.h"
#include "session/CStoppUhren.h"
#include "ui/main/EntriesModel.h"
#include "ui/main/MainWindowTexts.h"
#include "ui/main/OrdersModel.h"
#include "ui/main/StoppUhrWidget.h"
#include "ui/main/ToolActions.h"

#include <QAction>
#include <QMenu>
#include <QTableView>

namespace orv::ui {
namespace {

// The key of the order that runs; empty while the idle stopwatch counts.
QString laufenderKey(const CStoppUhren& session) {
    return session.AuftragLaeuft() && session.AktuellerAuftrag() != nullptr
               ? session.AktuellerAuftrag()->Key()
               : QString();
}

}  // namespace

void StoppUhrWidget::EnableButtons() {
    if (session_ == nullptr) {
        return;
    }
    // No current row counts as the idle row.
    const QString k = aktuellerKey();
    const QString a = laufenderKey(*session_);
    const bool idle = k == CAuftrag::LeerlaufKey();
    const bool stopp = !a.isEmpty() && a == k && !idle;
    const bool start = a != k && !idle;
    btnStopp_->setEnabled(stopp);
    btnStart_->setEnabled(start);
    btnBeenden_->setEnabled(!idle);
    const bool recht38 = session_->RechtLeistungAendern();
    ctlNeu_->setEnabled(recht38);
    ctlNeu_->ToolTipText(recht38 ? QStringLiteral("manuelle (vorläufige) Leistung anlegen")
                                 : texte::kRecht38);
    ctlLoeschen_->ToolTipText(recht38 ? QStringLiteral("vorläufige Leistung löschen")
                                      : texte::kRecht38);
    const QString mandant =
        auftraege_->data(auftraege_->index(aktuelleAuftragZeile(), 2), Qt::DisplayRole).toString();
    (*tools_)[tool::kAuftragAendern].setEnabled(!idle);
    (*tools_)[tool::kAuftragOeffnen].setEnabled(!idle && mandant != texte::kKeinAuftrag);
    (*tools_)[tool::kStop].setEnabled(stopp);
    (*tools_)[tool::kStart].setEnabled(start);
    (*tools_)[tool::kBeenden].setEnabled(!idle);
}

void StoppUhrWidget::EnableButtonsLeistungen() {
    if (session_ == nullptr) {
        return;
    }
    const int r = aktuelleLeistungZeile();
    const bool row = r >= 0;
    const bool recht38 = session_->RechtLeistungAendern();
    const bool recht34 = session_->RechtLeistungenSummieren();
    const QString mandant = leistungen_->data(leistungen_->index(r, 2), Qt::DisplayRole).toString();
    ctlEinzelBuchung_->setEnabled(row);
    ctlSammelbuchung_->setEnabled(row && recht34);
    ctlLoeschen_->setEnabled(row && recht38);
    (*tools_)[tool::kAuftragAendern].setEnabled(row && recht38);
    (*tools_)[tool::kAuftragOeffnen].setEnabled(row && recht38 && mandant != texte::kKeinAuftrag);
    (*tools_)[tool::kLeistungLoeschen].setEnabled(row && recht38);
    (*tools_)[tool::kBuchenEinzel].setEnabled(row);
    (*tools_)[tool::kBuchenSammel].setEnabled(row && recht34);
    (*tools_)[tool::kLeistungBearbeiten].setEnabled(row && recht38);
    (*tools_)[tool::kLeistungUmbuchen].setEnabled(recht38);
    (*tools_)[tool::kUmbuchenLeistung].setEnabled(row);
}

void StoppUhrWidget::ToolbarStellen() {
    if (session_ == nullptr) {
        return;
    }
    const bool vorgaenge = tab() == 0;
    for (const char* key :
         {tool::kEigenschaften, tool::kStart, tool::kStop, tool::kBeenden, tool::kTelefon}) {
        (*tools_)[key].setVisible(vorgaenge);
    }
    for (const char* key : {tool::kBuchenEinzel, tool::kBuchenSammel, tool::kLeistungBearbeiten,
                            tool::kLeistungLoeschen, tool::kLeistungUmbuchen}) {
        (*tools_)[key].setVisible(!vorgaenge);
    }
    QAction& neu = (*tools_)[tool::kNeu];
    if (vorgaenge) {
        // Back from the entries, where the right may have disabled it.
        neu.setEnabled(true);
        neu.setText(QStringLiteral("neuen Vorgang anlegen"));
        neu.setToolTip(QStringLiteral("neuen Vorgang anlegen"));
        (*tools_)[tool::kAuftragAendern].setToolTip(
            QStringLiteral("anderen oder neuen Auftrag zuordnen"));
        (*tools_)[tool::kAuftragOeffnen].setToolTip(QStringLiteral("Auftrag anzeigen"));
        EnableButtons();
        return;
    }
    const bool recht38 = session_->RechtLeistungAendern();
    const bool recht34 = session_->RechtLeistungenSummieren();
    for (const char* key :
         {tool::kNeu, tool::kLeistungBearbeiten, tool::kLeistungLoeschen, tool::kLeistungUmbuchen,
          tool::kAuftragAendern, tool::kAuftragOeffnen}) {
        (*tools_)[key].setEnabled(recht38);
    }
    (*tools_)[tool::kBuchenSammel].setEnabled(leistungen_->rowCount() > 0 && recht34);
    neu.setText(QStringLiteral("Leistung manuell erfassen"));
    const std::pair<const char*, const char*> tips[] = {
        {tool::kAuftragAendern, "anderen oder neuen Auftrag zuordnen"},
        {tool::kAuftragOeffnen, "Auftrag anzeigen"},
        {tool::kLeistungBearbeiten, "vorläufige Leistung bearbeiten"},
        {tool::kLeistungLoeschen, "vorläufige Leistung löschen"},
        {tool::kNeu, "manuelle (vorläufige) Leistung anlegen"},
        {tool::kLeistungUmbuchen, "Leistungen umbuchen"},
    };
    for (const auto& [key, tip] : tips) {
        (*tools_)[key].setToolTip(recht38 ? QString::fromUtf8(tip) : texte::kRecht38);
    }
    (*tools_)[tool::kBuchenSammel].setToolTip(
        recht34 ? QStringLiteral("Leistungen des selben Auftrages zusammenfassen")
                : texte::kRecht34);
    EnableButtonsLeistungen();
}

void StoppUhrWidget::PopUpMenue(const QPoint& global) {
    ToolbarStellen();
    // Not blocking: a tool chosen from it runs as a command of its own.
    tools_->popup().popup(global);
}

}  // namespace orv::ui
