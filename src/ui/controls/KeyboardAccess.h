#pragma once

#include <QKeySequence>
#include <QString>

#include <functional>

class QLabel;
class QWidget;

namespace orv::ui {

// What a screen reader announces for the widget, in German ("Mandant", "Zeit"), also for the
// widget it passes its focus to.
void setzeZugaenglich(QWidget& widget, const QString& name);

// A caption label names its input: its access key moves there, and a screen reader announces
// the input by the caption (without the access key's "&" and a closing colon).
void beschriften(QLabel& caption, QWidget& input);

// Sets a value label's text; its accessible name carries caption and value ("Leerlauf
// 01:23:45"). Both change only when the text does: the clock tick calls this every second.
void wertAnzeigen(QLabel& value, const QString& caption, const QString& text);

// Teaches the application the German key names, so menus show "Strg+N", not "Ctrl+N".
void deutscheTastennamen();

// The key as written on a German keyboard: "Strg+N", "Entf", "Eingabe", "F5".
QString tastenText(const QKeySequence& keys);

// While the widget is enabled its tooltip shows the key that does the same ("Vorgang
// fortsetzen (F5)"); the tooltip text itself stays as set. `keys` is asked each time, so it may
// follow the command the widget stands for.
void tasteImTipp(QWidget& widget, std::function<QKeySequence()> keys);

// The tooltip the widget shows now, key included.
QString gezeigterTipp(const QWidget& widget);

}  // namespace orv::ui
