#include "office/widgets/ctlButton.h"

namespace orv::office {

ctlButton::ctlButton(QWidget* parent) : QPushButton(parent) {
    // Reachable with Tab and pressed with Enter or the space bar, as in every dialog.
    setFocusPolicy(Qt::StrongFocus);
    setAutoDefault(true);
}

}  // namespace orv::office
