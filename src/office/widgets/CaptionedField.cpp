#include "office/widgets/CaptionedField.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>

namespace orv::office {
namespace {

// The office marks fields that must be filled with a pale yellow background.
const QColor kRequiredBackground(0xFF, 0xFF, 0xE1);

}  // namespace

CaptionedField::CaptionedField(QWidget* parent)
    : QWidget(parent), caption_(new QLabel(this)), layout_(new QHBoxLayout(this)) {
    caption_->setObjectName(QStringLiteral("lblCaption"));
    caption_->hide();
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->addWidget(caption_);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QString CaptionedField::Caption() const {
    return caption_->text();
}

void CaptionedField::Caption(const QString& caption) {
    caption_->setText(caption);
    caption_->setVisible(!caption.isEmpty());
}

void CaptionedField::CaptionWidth(int pixels) {
    caption_->setFixedWidth(pixels);
}

int CaptionedField::captionWidthHint() const {
    return caption_->sizeHint().width();
}

void CaptionedField::Locked(bool locked) {
    locked_ = locked;
    applyLocked(locked);
}

void CaptionedField::Required(bool required) {
    required_ = required;
    QPalette palette = input_->palette();
    palette.setColor(QPalette::Base,
                     required ? kRequiredBackground : QWidget::palette().color(QPalette::Base));
    input_->setPalette(palette);
}

void CaptionedField::addInput(QWidget* input, int stretch) {
    if (input_ == nullptr) {
        input_ = input;
        caption_->setBuddy(input);
        setFocusProxy(input);
        input->installEventFilter(this);
    }
    layout_->addWidget(input, stretch);
}

bool CaptionedField::eventFilter(QObject* watched, QEvent* event) {
    if (watched == input_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_F4) {
        return openPopup();
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace orv::office
