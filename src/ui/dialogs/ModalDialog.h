#pragma once

class QDialog;

namespace orv::ui {

// Shows a dialog modally in front of the window the employee works in and returns its result
// when it closes. The dialog stays owned by whoever made it: the window in front of which it
// shows is only its transient parent.
int zeigeModal(QDialog& dialog);

}  // namespace orv::ui
