#include "office/widgets/DirectoryPicker.h"

#include "office/widgets/LeaveValidation.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QStandardItemModel>

namespace orv::office {
namespace {

// How many entries the list dialog shows at most.
constexpr int kListe = 200;

}  // namespace

DirectoryPicker::DirectoryPicker(QWidget* parent, QString dialogTitle)
    : CaptionedField(parent),
      dialogTitle_(std::move(dialogTitle)),
      edit_(new QLineEdit(this)),
      name_(new QLabel(this)),
      vorschlaege_(new QStandardItemModel(this)),
      completer_(new QCompleter(this)),
      validation_(nullptr) {
    edit_->setObjectName(QStringLiteral("txtNummer"));
    name_->setObjectName(QStringLiteral("lblName"));
    name_->setTextFormat(Qt::PlainText);
    addInput(edit_, 0);
    addInput(name_, 1);
    // The directory has already filtered: the completer shows every entry it is given. It is
    // attached to the field, not installed in it, so choosing sets the key, not the entry's text.
    completer_->setModel(vorschlaege_);
    completer_->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    completer_->setWidget(edit_);
    completer_->popup()->setObjectName(QStringLiteral("lstVorschlaege"));
    connect(completer_, qOverload<const QModelIndex&>(&QCompleter::activated), this,
            [this](const QModelIndex& index) {
                waehlen(index.data(Qt::UserRole).toInt());
                aufgeloest_ = true;
                emit Change();
            });
    connect(edit_, &QLineEdit::textEdited, this, [this](const QString& text) { getippt(text); });
    validation_ = new LeaveValidation(edit_, [this] {
        verlassen();
        return true;
    });
}

DirectoryPicker::~DirectoryPicker() {
    // The focus leaving the dying field is no leave.
    delete validation_;
}

void DirectoryPicker::InputWidth(int pixels) {
    edit_->setFixedWidth(pixels);
}

QString DirectoryPicker::Anzeige() const {
    return name_->text();
}

void DirectoryPicker::zeigen(const QString& key, const QString& name) {
    edit_->setText(key);
    hinweis(name, false);
    aufgeloest_ = true;
}

void DirectoryPicker::hinweis(const QString& text, bool fehler) {
    name_->setText(text);
    name_->setStyleSheet(fehler ? QStringLiteral("color: red") : QString());
}

void DirectoryPicker::getippt(const QString& text) {
    aufgeloest_ = aufloesen(text.trimmed());
    if (aufgeloest_ || text.trimmed().isEmpty()) {
        completer_->popup()->hide();
        if (text.trimmed().isEmpty()) {
            hinweis({}, false);
        }
        emit Change();
        return;
    }
    hinweis({}, false);
    vorschlaege_->clear();
    for (const PickerItem& item : eintraege(text.trimmed(), kVorschlaege)) {
        auto* row = new QStandardItem(item.text);
        row->setData(item.id, Qt::UserRole);
        vorschlaege_->appendRow(row);
    }
    if (vorschlaege_->rowCount() > 0) {
        completer_->complete();
    } else {
        completer_->popup()->hide();
    }
    emit Change();
}

void DirectoryPicker::verlassen() {
    const QString text = edit_->text().trimmed();
    if (!aufgeloest_ && !text.isEmpty()) {
        hinweis(unbekannt(text), true);
    }
    emit Validate();
}

void DirectoryPicker::Auswahl() {
    if (Locked() || !isEnabled()) {
        return;
    }
    PickerDialog dialog(
        dialogTitle_,
        [this](const QString& filter) {
            if (!filter.trimmed().isEmpty()) {
                return eintraege(filter.trimmed(), kListe);
            }
            // Without a filter the list starts with the lowest numbers: every number begins
            // with one of the digits 1 to 9.
            std::vector<PickerItem> alle;
            for (char ziffer = '1'; ziffer <= '9' && static_cast<int>(alle.size()) < kListe;
                 ++ziffer) {
                for (PickerItem& item : eintraege(QString(QLatin1Char(ziffer)),
                                                  kListe - static_cast<int>(alle.size()))) {
                    alle.push_back(std::move(item));
                }
            }
            return alle;
        },
        this);
    if (dialog.exec() == QDialog::Accepted && dialog.gewaehlt() > 0) {
        waehlen(dialog.gewaehlt());
        emit Change();
        emit Validate();
    }
    edit_->setFocus(Qt::OtherFocusReason);
}

void DirectoryPicker::applyLocked(bool locked) {
    edit_->setReadOnly(locked);
    if (locked) {
        completer_->popup()->hide();
    }
}

}  // namespace orv::office
