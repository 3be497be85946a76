#include "WidgetHarness.h"

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QMimeData>
#include <QTest>

namespace orv::test {
void showActive(QWidget& window) {
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

void press(QWidget* widget, const QString& keys) {
    ASSERT_NE(widget, nullptr);
    for (qsizetype i = 0; i < keys.size(); ++i) {
        // Keys go where the focus is, as the keyboard's would.
        QWidget* target =
            QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : widget;
        if (keys[i] != QLatin1Char('{')) {
            QTest::keyClick(target, keys[i].toLatin1());
            continue;
        }
        const qsizetype end = keys.indexOf(QLatin1Char('}'), i);
        const QKeySequence chord = QKeySequence::fromString(keys.mid(i + 1, end - i - 1));
        ASSERT_TRUE(end > i && chord.count() == 1) << "unknown key in " << keys.toStdString();
        QTest::keyClick(target, chord[0].key(), chord[0].keyboardModifiers());
        i = end;
    }
}

void dropText(QWidget* widget, const QString& text, QPoint at) {
    QMimeData data;
    data.setText(text);
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(widget, &enter);
    QDropEvent drop(QPointF(at), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                    Qt::NoModifier);
    QApplication::sendEvent(widget, &drop);
}

void setClipboard(const QString& text) {
    QApplication::clipboard()->setText(text);
}

}  // namespace orv::test
