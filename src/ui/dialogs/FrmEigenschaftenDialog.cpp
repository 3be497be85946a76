#include "ui/dialogs/FrmEigenschaftenDialog.h"

#include "model/CAuftrag.h"
#include "office/widgets/ctlButton.h"
#include "platform/MessageBoxes.h"
#include "platform/PlatformFactory.h"
#include "session/diagnostics/Procedure.h"
#include "ui/controls/ctlAuftrag.h"
#include "ui/dialogs/ModalDialog.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolBar>
#include <QVBoxLayout>

namespace orv::ui {
namespace {

constexpr std::int32_t kOk = 1;
constexpr std::int32_t kAbgebrochen = 2;

const char* const kKanzleiweit =
    "Dieser Auftrag gilt für die ganze Kanzlei: Auf ihn wird beim Tagesabschluss die "
    "unproduktive Zeit aller Mitarbeiter gebucht.";

}  // namespace

FrmEigenschaftenDialog::FrmEigenschaftenDialog(platform::PlatformFactory& platform)
    : platform_(platform),
      trace_(platform, QStringLiteral("frmEigenschaften")),
      layout_(new QVBoxLayout(this)),
      mnuAuftrag_(new QAction(QStringLiteral("Auftrag auswählen"), this)),
      ctlOk_(new office::ctlButton(this, "ctlOk", QStringLiteral("OK"))),
      ctlAbbrechen_(new office::ctlButton(this, "ctlAbbrechen", QStringLiteral("Abbrechen"))) {
    setObjectName(QStringLiteral("frmEigenschaften"));
    setWindowTitle(QStringLiteral("Eigenschaften"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* bar = new QToolBar(QStringLiteral("mnuEigenschaften"), this);
    bar->setObjectName(QStringLiteral("barEigenschaften"));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    mnuAuftrag_->setObjectName(QStringLiteral("mnuAuftrag"));
    bar->addAction(mnuAuftrag_);
    connect(mnuAuftrag_, &QAction::triggered, this, &FrmEigenschaftenDialog::auftragWaehlen);

    auto* hinweis = new QLabel(QString::fromUtf8(kKanzleiweit), this);
    hinweis->setObjectName(QStringLiteral("lblKanzleiweit"));
    hinweis->setWordWrap(true);

    ctlOk_->setDefault(true);
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch();
    knoepfe->addWidget(ctlOk_);
    knoepfe->addWidget(ctlAbbrechen_);

    layout_->setMenuBar(bar);
    layout_->addWidget(hinweis);
    layout_->addLayout(knoepfe);

    setMinimumWidth(640);

    connect(ctlOk_, &QPushButton::clicked, this, &FrmEigenschaftenDialog::bestaetigen);
    connect(ctlAbbrechen_, &QPushButton::clicked, this, &QDialog::reject);
}

FrmEigenschaftenDialog::~FrmEigenschaftenDialog() = default;

std::int32_t FrmEigenschaftenDialog::Eigenschaftenanzeigen(CAuftrag& order) {
    Procedure p(trace_, "Eigenschaftenanzeigen");
    return p.run([&] {
        ergebnis_ = kAbgebrochen;
        // The control holds orders as shared ones; an order the caller keeps elsewhere is shown
        // without passing its ownership on.
        auftrag_ = order.weak_from_this().lock();
        if (auftrag_ == nullptr) {
            auftrag_ = std::shared_ptr<CAuftrag>(&order, [](CAuftrag*) {});
        }
        bisher_ = order.AuftragId();
        ctlAuftrag1_ = new ctlAuftrag(order.StoppUhren(), this);
        ctlAuftrag1_->setObjectName(QStringLiteral("ctlAuftrag1"));
        ctlAuftrag1_->AbbruchZiel(ctlAbbrechen_);
        layout_->insertWidget(0, ctlAuftrag1_);
        setTabOrder(ctlAuftrag1_, ctlOk_);
        setTabOrder(ctlOk_, ctlAbbrechen_);
        ctlAuftrag1_->Eigenschaftenanzeigen(auftrag_);
        ctlAuftrag1_->FocusMandant();
        // Escape and the close box cancel as the cancel button does.
        if (zeigeModal(*this, platform_) != QDialog::Accepted) {
            ergebnis_ = kAbgebrochen;
        }
        return ergebnis_;
    });
}

void FrmEigenschaftenDialog::auftragWaehlen() {
    Procedure(trace_, "barEigenschaften_ToolClick").report([&] {
        if (auftrag_->AuftragBrowsen()) {
            ctlAuftrag1_->Eigenschaftenanzeigen(auftrag_);
        }
    });
}

void FrmEigenschaftenDialog::bestaetigen() {
    Procedure(trace_, "ctlOk_Click").report([&] {
        // A key typed but not yet looked up counts as what the employee confirms.
        ctlAuftrag1_->PruefeAuftrag();
        if (auftrag_->AuftragId() != bisher_) {
            const platform::MsgAnswer antwort = platform_.messageBoxes().show(
                QString::fromUtf8(kKanzleiweit) +
                    QStringLiteral("\nSoll die unproduktive Zeit künftig auf den gewählten "
                                   "Auftrag gebucht werden?"),
                platform::MsgButtons::YesNo, platform::MsgIcon::Question,
                QStringLiteral("Eigenschaften"));
            if (antwort != platform::MsgAnswer::Yes) {
                return;
            }
        }
        ergebnis_ = kOk;
        accept();
    });
}

}  // namespace orv::ui
