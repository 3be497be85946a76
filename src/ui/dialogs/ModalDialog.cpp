#include "ui/dialogs/ModalDialog.h"

#include "ui/controls/OfficeIcons.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>

namespace orv::ui {

int zeigeModal(QDialog& dialog, platform::PlatformFactory& platform) {
    setOfficeWindowIcon(dialog, platform);
    QPointer<QWidget> ueber = QApplication::activeWindow();
    if (ueber != nullptr && ueber != &dialog) {
        // Parented only while it runs: the session, not the window below, releases the dialog.
        dialog.setParent(ueber, dialog.windowFlags() | Qt::Dialog);
    }
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.raise();
    dialog.activateWindow();
    const int result = dialog.exec();
    if (dialog.parent() != nullptr) {
        dialog.setParent(nullptr, dialog.windowFlags());
    }
    return result;
}

}  // namespace orv::ui
