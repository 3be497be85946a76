#include "office/widgets/PickerDialog.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace orv::office {

PickerDialog::PickerDialog(const QString& title, Source source, QWidget* parent)
    : QDialog(parent),
      source_(std::move(source)),
      filter_(new QLineEdit(this)),
      liste_(new QListWidget(this)) {
    setWindowTitle(title);
    setObjectName(QStringLiteral("PickerDialog"));
    filter_->setObjectName(QStringLiteral("txtFilter"));
    filter_->setPlaceholderText(QStringLiteral("Nummer oder Name"));
    liste_->setObjectName(QStringLiteral("lstAuswahl"));
    auto* label = new QLabel(QStringLiteral("&Suchen:"), this);
    label->setBuddy(filter_);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(filter_);
    layout->addWidget(liste_);
    layout->addWidget(buttons);
    resize(420, 360);

    connect(filter_, &QLineEdit::textChanged, this, [this] { filtern(); });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { uebernehmen(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(liste_, &QListWidget::itemActivated, this, [this] { uebernehmen(); });
    // Up and Down in the filter walk the list, so the keyboard never has to leave the filter.
    filter_->installEventFilter(this);
    filtern();
}

void PickerDialog::filtern() {
    liste_->clear();
    for (const PickerItem& item : source_(filter_->text())) {
        auto* line = new QListWidgetItem(item.text, liste_);
        line->setData(Qt::UserRole, item.id);
    }
    liste_->setCurrentRow(liste_->count() > 0 ? 0 : -1);
}

void PickerDialog::uebernehmen() {
    const QListWidgetItem* current = liste_->currentItem();
    gewaehlt_ = current != nullptr ? current->data(Qt::UserRole).toInt() : 0;
    accept();
}

bool PickerDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == filter_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            const int row = liste_->currentRow() + (key == Qt::Key_Down ? 1 : -1);
            if (row >= 0 && row < liste_->count()) {
                liste_->setCurrentRow(row);
            }
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace orv::office
