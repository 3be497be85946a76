#include "ui/desktop/ProblemReportDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace orv::ui {

ProblemReportDialog::ProblemReportDialog(std::int32_t number, const QString& source,
                                         const QString& description, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Problembericht"));
    setObjectName(QStringLiteral("ProblemReportDialog"));
    report_ = QStringLiteral("Fehler %1: %2\nAufrufpfad: %3").arg(number).arg(description, source);

    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxCritical).pixmap(32, 32));
    auto* text = new QLabel(this);
    text->setObjectName(QStringLiteral("lblBeschreibung"));
    text->setTextFormat(Qt::PlainText);
    text->setWordWrap(true);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    text->setText(description.isEmpty() ? QStringLiteral("Ein unbekannter Fehler ist aufgetreten.")
                                        : description);
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addWidget(text, 1);

    details_ = new QPlainTextEdit(report_, this);
    details_->setObjectName(QStringLiteral("txtDetails"));
    details_->setReadOnly(true);
    details_->setVisible(false);
    details_->setMinimumHeight(90);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    detailsButton_ = buttons->addButton(QStringLiteral("Details"), QDialogButtonBox::ActionRole);
    detailsButton_->setCheckable(true);
    QPushButton* copy =
        buttons->addButton(QStringLiteral("Kopieren"), QDialogButtonBox::ActionRole);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(detailsButton_, &QPushButton::toggled, details_, &QWidget::setVisible);
    connect(copy, &QPushButton::clicked, this,
            [this] { QApplication::clipboard()->setText(report_); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(details_);
    layout->addWidget(buttons);
    setMinimumWidth(420);
}

void ProblemReportServer::TQ_gShowError(std::int32_t& number, QString& source,
                                        QString& description) {
    QWidget* parent = QApplication::activeModalWidget();
    if (parent == nullptr) {
        parent = QApplication::activeWindow();
    }
    ProblemReportDialog dialog(number, source, description, parent);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.exec();
}

}  // namespace orv::ui
