#pragma once

class QDialog;

namespace orv::platform {
class PlatformFactory;
}

namespace orv::ui {

// A dialog of the component is made for one use: it carries the office's window picture and
// runs modal over the window the employee works in, in front of it; clock ticks keep arriving
// in its event loop. Returns the dialog's exec() result.
int zeigeModal(QDialog& dialog, platform::PlatformFactory& platform);

}  // namespace orv::ui
