#include "ui/controls/DropList.h"

#include <QAbstractItemView>
#include <QComboBox>

namespace orv::ui {

DropList::DropList(QWidget* parent) : QWidget(parent), cbo_(new QComboBox(this)) {
    cbo_->setObjectName(QStringLiteral("cbo"));
    setFocusPolicy(Qt::NoFocus);
    cbo_->setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFixedHeight(0);
}

void DropList::Enabled(bool enabled) {
    setEnabled(enabled);
    if (!enabled) {
        DropDown(false);
    }
}

bool DropList::IsDropped() const {
    return cbo_->view()->isVisible();
}

void DropList::DropDown(bool show) {
    if (!show) {
        cbo_->hidePopup();
        return;
    }
    if (!isEnabled()) {
        return;
    }
    setAttribute(Qt::WA_TransparentForMouseEvents, false);
    cbo_->showPopup();
}

void DropList::resizeEvent(QResizeEvent* /*event*/) {
    const int height = cbo_->sizeHint().height();
    cbo_->setGeometry(0, -height, width(), height);
}

}  // namespace orv::ui
