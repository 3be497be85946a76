#include "ui/dialogs/ModalDialog.h"

#include <QApplication>
#include <QDialog>
#include <QWindow>

namespace orv::ui {

int zeigeModal(QDialog& dialog) {
    QWidget* vorn = QApplication::activeWindow();
    if (vorn != nullptr && vorn != &dialog) {
        dialog.winId();
        dialog.windowHandle()->setTransientParent(vorn->window()->windowHandle());
    }
    dialog.setWindowModality(Qt::ApplicationModal);
    return dialog.exec();
}

}  // namespace orv::ui
