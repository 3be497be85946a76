#include "WidgetHarness.h"

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QMimeData>
#include <QTest>

#include <map>

namespace orv::test {
namespace {

struct Chord {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
};

const std::map<QString, Chord>& namedKeys() {
    static const std::map<QString, Chord> keys = {
        {QStringLiteral("BS"), {Qt::Key_Backspace, Qt::NoModifier}},
        {QStringLiteral("DEL"), {Qt::Key_Delete, Qt::NoModifier}},
        {QStringLiteral("LEFT"), {Qt::Key_Left, Qt::NoModifier}},
        {QStringLiteral("RIGHT"), {Qt::Key_Right, Qt::NoModifier}},
        {QStringLiteral("HOME"), {Qt::Key_Home, Qt::NoModifier}},
        {QStringLiteral("END"), {Qt::Key_End, Qt::NoModifier}},
        {QStringLiteral("TAB"), {Qt::Key_Tab, Qt::NoModifier}},
        {QStringLiteral("ENTER"), {Qt::Key_Return, Qt::NoModifier}},
        {QStringLiteral("ESC"), {Qt::Key_Escape, Qt::NoModifier}},
        {QStringLiteral("F4"), {Qt::Key_F4, Qt::NoModifier}},
        {QStringLiteral("CTRL+A"), {Qt::Key_A, Qt::ControlModifier}},
        {QStringLiteral("CTRL+C"), {Qt::Key_C, Qt::ControlModifier}},
        {QStringLiteral("CTRL+V"), {Qt::Key_V, Qt::ControlModifier}},
        {QStringLiteral("CTRL+X"), {Qt::Key_X, Qt::ControlModifier}},
        {QStringLiteral("CTRL+Z"), {Qt::Key_Z, Qt::ControlModifier}},
        {QStringLiteral("SHIFT+END"), {Qt::Key_End, Qt::ShiftModifier}},
        {QStringLiteral("SHIFT+HOME"), {Qt::Key_Home, Qt::ShiftModifier}},
    };
    return keys;
}

}  // namespace

void showActive(QWidget& window) {
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

void press(QWidget* widget, const QString& keys) {
    ASSERT_NE(widget, nullptr);
    for (qsizetype i = 0; i < keys.size(); ++i) {
        if (keys[i] != QLatin1Char('{')) {
            QTest::keyClick(widget, keys[i].toLatin1());
            continue;
        }
        const qsizetype end = keys.indexOf(QLatin1Char('}'), i);
        const auto named = namedKeys().find(keys.mid(i + 1, end - i - 1));
        ASSERT_TRUE(end > i && named != namedKeys().end())
            << "unknown key in " << keys.toStdString();
        // Keys go where the focus is, as the keyboard's would.
        QWidget* target =
            QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : widget;
        QTest::keyClick(target, named->second.key, named->second.modifiers);
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
