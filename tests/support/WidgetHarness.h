#pragma once

#include "TestQueries.h"

#include <gtest/gtest.h>

#include <QString>
#include <QWidget>

#include <ostream>

namespace orv::test {

// Widgets under test run on Qt's offscreen platform and get real key and mouse events.

// The child with that object name and type; fails the test when there is none.
template <typename W>
W* child(const QWidget& parent, const char* name) {
    W* found = parent.findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << "no child " << name;
    return found;
}

// Shows the widget as an active window, so that focus moves as it does on a desktop.
void showActive(QWidget& window);

// Sends keys to the focused widget (or this one): characters as typed, and in braces a key or
// chord as Qt names it: "{Backspace}", "{Del}", "{Tab}", "{Return}", "{F4}", "{Ctrl+V}".
void press(QWidget* widget, const QString& keys);

// Drops text on the widget at a point, as dragged from another program.
void dropText(QWidget* widget, const QString& text, QPoint at);

void setClipboard(const QString& text);

}  // namespace orv::test
