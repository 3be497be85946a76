#include "office/widgets/CalculatorPopup.h"

#include "office/widgets/Expression.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace orv::office {

CalculatorPopup::CalculatorPopup(QWidget* parent)
    : QFrame(parent, Qt::Popup), line_(new QLineEdit(this)), hint_(new QLabel(this)) {
    setObjectName(QStringLiteral("frmRechner"));
    setFrameShape(QFrame::StyledPanel);
    line_->setObjectName(QStringLiteral("txtRechnung"));
    hint_->setObjectName(QStringLiteral("lblRechner"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(line_);
    layout->addWidget(hint_);
    connect(line_, &QLineEdit::returnPressed, this, &CalculatorPopup::evaluate);
}

void CalculatorPopup::open(QWidget* below, const QString& start) {
    hint_->setText(QStringLiteral("Rechnen mit + − × ÷, Eingabetaste übernimmt"));
    line_->setText(start);
    move(below->mapToGlobal(QPoint(0, below->height())));
    show();
    line_->setFocus(Qt::PopupFocusReason);
    line_->selectAll();
}

void CalculatorPopup::evaluate() {
    const std::optional<double> value = evaluateExpression(line_->text());
    if (!value) {
        hint_->setText(QStringLiteral("Die Rechnung ist nicht vollständig oder teilt durch 0."));
        return;
    }
    emit result(*value);
    close();
}

}  // namespace orv::office
