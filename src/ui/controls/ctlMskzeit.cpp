#include "ui/controls/ctlMskzeit.h"

#include "office/widgets/LeaveValidation.h"
#include "session/runtime/Runtime.h"
#include "ui/controls/TimeLineEdit.h"

#include <QVBoxLayout>

namespace orv::ui {

ctlMskzeit::ctlMskzeit(QWidget* parent) : QWidget(parent), txtZeit_(new TimeLineEdit(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(txtZeit_);
    setFocusProxy(txtZeit_);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    validation_ = new office::LeaveValidation(txtZeit_, [this] {
        bool cancel = false;
        emit Validate(cancel);
        return !cancel;
    });
    connect(txtZeit_, &QLineEdit::textChanged, this, [this] {
        dataChanged_ = true;
        emit Change();
    });
    connect(txtZeit_, &TimeLineEdit::refused, this, &ctlMskzeit::Eingabefehler);
    ZeitFormat(0);
    dataChanged_ = false;
}

ctlMskzeit::~ctlMskzeit() {
    delete validation_;
}

QString ctlMskzeit::Text() const {
    return txtZeit_->text();
}

bool ctlMskzeit::Text(const QString& text) {
    return txtZeit_->replaceText(text);
}

void ctlMskzeit::pbUhrZeit(bool on) {
    uhrZeit_ = on;
    txtZeit_->setMask(TimeMask(langesFormat(), on));
}

void ctlMskzeit::ZeitFormat(std::int32_t format) {
    const TimeMask mask(format != 0, uhrZeit_);
    txtZeit_->setMask(mask);
    txtZeit_->setText(mask.zeros());
}

bool ctlMskzeit::langesFormat() const {
    return txtZeit_->mask().longFormat();
}

std::int32_t ctlMskzeit::Sekunden() const {
    return static_cast<std::int32_t>(TimeMask::seconds(Text()));
}

void ctlMskzeit::Sekunden(std::int32_t seconds) {
    const QString duration = rt::durationText(seconds);
    Text(langesFormat() ? duration : duration.left(duration.size() - 3));
}

void ctlMskzeit::setReadOnly(bool readOnly) {
    txtZeit_->setReadOnly(readOnly);
}

}  // namespace orv::ui
