#pragma once

#include <QFont>
#include <QHash>
#include <QLabel>
#include <QRawFont>
#include <QStaticText>
#include <QStyledItemDelegate>

#include <array>
#include <vector>

class QPainter;

namespace orv::ui {

// Draws clock texts ("01:23:45") from glyphs looked up once per font. The stopwatch window
// repaints its running times every second, and laying such a text out anew each time cost more
// than the rest of the clock tick together.
class ZeitGlyphen {
public:
    // Draws the text in the painter's font and pen; false, drawing nothing, when the text holds
    // another character than digits and colons (the caller then draws it the ordinary way).
    bool zeichnen(QPainter& painter, const QRectF& rect, Qt::Alignment alignment,
                  const QString& text);

private:
    static constexpr int kZeichen = 11;  // "0123456789:"
    struct Satz {
        QFont font;
        QRawFont raw;
        std::array<quint32, kZeichen> glyph{};
        std::array<qreal, kZeichen> breite{};
    };
    const Satz* satz(const QFont& font);

    std::vector<Satz> saetze_;  // one per font drawn (a bold row has its own)
    QList<quint32> glyphen_;
    QList<QPointF> stellen_;
};

// A label showing a running time.
class ZeitLabel final : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ZeitGlyphen glyphen_;
};

// The cells of the stopwatch window's grids. A start repaints two whole rows and every tick the
// running time: times and numbers are drawn from glyphs, other texts from layouts kept while
// the window lives, clipped at the cell's edge.
class GridDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    const QStaticText& layout(const QString& text, const QFont& font) const;

    mutable ZeitGlyphen glyphen_;
    mutable QHash<QString, QStaticText> layouts_[2];  // normal and bold
};

}  // namespace orv::ui
