#include "office/widgets/ctlButton.h"

namespace orv::office {

ctlButton::ctlButton(QWidget* parent) : QPushButton(parent) {
    // Reachable with Tab and pressed with Enter or the space bar, as in every dialog.
    setFocusPolicy(Qt::StrongFocus);
    setAutoDefault(true);
}

ctlButton::ctlButton(QWidget* parent, const char* name, const QString& caption)
    : ctlButton(parent) {
    setObjectName(QString::fromLatin1(name));
    Caption(caption);
}

}  // namespace orv::office
