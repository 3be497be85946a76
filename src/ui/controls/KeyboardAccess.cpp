#include "ui/controls/KeyboardAccess.h"

#include <QAbstractButton>
#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QToolTip>
#include <QTranslator>

#include <cstring>
#include <utility>

namespace orv::ui {
namespace {

// Qt names keys in English unless a translation says otherwise; the office has no Qt
// translation installed, so the component brings the few names its menus and tooltips show.
class GermanKeyNames final : public QTranslator {
public:
    using QTranslator::QTranslator;

    bool isEmpty() const override { return false; }

    QString translate(const char* context, const char* source, const char* /*disambiguation*/,
                      int /*n*/) const override {
        static constexpr std::pair<const char*, const char*> kNamen[] = {
            {"Ctrl", "Strg"},       {"Shift", "Umschalt"},      {"Del", "Entf"},
            {"Ins", "Einfg"},       {"Return", "Eingabe"},      {"Enter", "Eingabe"},
            {"Space", "Leertaste"}, {"Backspace", "Rücktaste"}, {"PgUp", "Bild auf"},
            {"PgDown", "Bild ab"},  {"Home", "Pos1"},           {"End", "Ende"},
        };
        if (context == nullptr || source == nullptr || std::strcmp(context, "QShortcut") != 0) {
            return {};
        }
        for (const auto& [englisch, deutsch] : kNamen) {
            if (std::strcmp(source, englisch) == 0) {
                return QString::fromUtf8(deutsch);
            }
        }
        return {};
    }
};

// "&&" stands for one "&"; any other "&" marks the access key.
QString ohneZugriffstaste(QString text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('&')) {
            text.remove(i, 1);
        }
    }
    return text;
}

QString mitTaste(const QWidget& widget, QString tipp, const QKeySequence& keys) {
    if (!widget.isEnabled() || keys.isEmpty()) {
        return tipp;
    }
    // A button without a tooltip of its own is named by its caption: "Stopp (F6)".
    if (const auto* button = qobject_cast<const QAbstractButton*>(&widget);
        tipp.isEmpty() && button != nullptr) {
        tipp = ohneZugriffstaste(button->text());
    }
    const QString taste = QLatin1Char('(') + tastenText(keys) + QLatin1Char(')');
    return tipp.isEmpty() ? taste : tipp + QLatin1Char(' ') + taste;
}

class KeyTip final : public QObject {
public:
    KeyTip(QWidget& widget, std::function<QKeySequence()> keys)
        : QObject(&widget), widget_(widget), keys_(std::move(keys)) {
        widget.installEventFilter(this);
    }

    QString text() const { return mitTaste(widget_, widget_.toolTip(), keys_()); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != &widget_ || event->type() != QEvent::ToolTip) {
            return false;
        }
        const QString tipp = text();
        if (tipp.isEmpty()) {
            return false;
        }
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), tipp, &widget_);
        return true;
    }

private:
    QWidget& widget_;
    std::function<QKeySequence()> keys_;
};

}  // namespace

void deutscheTastennamen() {
    static bool installiert = false;
    if (!installiert && qApp != nullptr) {
        installiert = QCoreApplication::installTranslator(new GermanKeyNames(qApp));
    }
}

void setzeZugaenglich(QWidget& widget, const QString& name) {
    // A composite passes its focus on: the widget that takes it is the one announced.
    for (QWidget* w = &widget; w != nullptr; w = w->focusProxy()) {
        w->setAccessibleName(name);
    }
}

void beschriften(QLabel& caption, QWidget& input) {
    caption.setBuddy(&input);
    QString name = ohneZugriffstaste(caption.text());
    if (name.endsWith(QLatin1Char(':'))) {
        name.chop(1);
    }
    setzeZugaenglich(input, name);
}

void wertAnzeigen(QLabel& value, const QString& caption, const QString& text) {
    if (value.text() == text && !value.accessibleName().isEmpty()) {
        return;
    }
    value.setText(text);
    value.setAccessibleName(caption + QLatin1Char(' ') + text);
}

QString tastenText(const QKeySequence& keys) {
    deutscheTastennamen();
    return keys.toString(QKeySequence::NativeText);
}

void tasteImTipp(QWidget& widget, std::function<QKeySequence()> keys) {
    new KeyTip(widget, std::move(keys));
}

QString gezeigterTipp(const QWidget& widget) {
    for (const QObject* child : widget.children()) {
        if (const auto* tip = dynamic_cast<const KeyTip*>(child)) {
            return tip->text();
        }
    }
    return widget.toolTip();
}

}  // namespace orv::ui
