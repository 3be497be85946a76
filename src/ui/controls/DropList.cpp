#include "ui/controls/DropList.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QProxyStyle>

namespace orv::ui {
namespace {

// Some styles lay the open list over the combo box; this one always opens it below, so the
// list hangs under the host's field.
class ListBelowStyle final : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        return hint == SH_ComboBox_Popup ? 0
                                         : QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

}  // namespace

DropList::DropList(QWidget* parent) : QWidget(parent), cbo_(new QComboBox(this)) {
    cbo_->setObjectName(QStringLiteral("cbo"));
    auto* style = new ListBelowStyle;
    style->setParent(cbo_);
    cbo_->setStyle(style);
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
