#include "ui/main/GridText.h"

#include <QApplication>
#include <QGlyphRun>
#include <QPainter>
#include <QStyle>

#include <cmath>

namespace orv::ui {
namespace {

int zeichenIndex(QChar c) {
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
        return c.unicode() - '0';
    }
    return c == QLatin1Char(':') ? 10 : -1;
}

}  // namespace

const ZeitGlyphen::Satz* ZeitGlyphen::satz(const QFont& font) {
    for (const Satz& s : saetze_) {
        if (s.font == font) {
            return &s;
        }
    }
    Satz s;
    s.font = font;
    s.raw = QRawFont::fromFont(font);
    if (!s.raw.isValid()) {
        return nullptr;
    }
    const QList<quint32> glyphen = s.raw.glyphIndexesForString(QStringLiteral("0123456789:"));
    if (glyphen.size() != kZeichen || glyphen.contains(0)) {
        return nullptr;  // the font lacks a digit: drawn the ordinary way
    }
    const QList<QPointF> breiten = s.raw.advancesForGlyphIndexes(glyphen);
    for (int i = 0; i < kZeichen; ++i) {
        s.glyph[static_cast<std::size_t>(i)] = glyphen[i];
        s.breite[static_cast<std::size_t>(i)] = breiten[i].x();
    }
    saetze_.push_back(std::move(s));
    return &saetze_.back();
}

bool ZeitGlyphen::zeichnen(QPainter& painter, const QRectF& rect, Qt::Alignment alignment,
                           const QString& text) {
    const Satz* s = satz(painter.font());
    if (s == nullptr || text.isEmpty()) {
        return false;
    }
    glyphen_.resize(text.size());
    stellen_.resize(text.size());
    qreal x = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int z = zeichenIndex(text[i]);
        if (z < 0) {
            return false;
        }
        glyphen_[i] = s->glyph[static_cast<std::size_t>(z)];
        stellen_[i] = QPointF(x, 0);
        x += s->breite[static_cast<std::size_t>(z)];
    }
    qreal links = rect.left();
    if (alignment & Qt::AlignHCenter) {
        links += (rect.width() - x) / 2;
    } else if (alignment & Qt::AlignRight) {
        links = rect.right() - x;
    }
    const qreal hoehe = s->raw.ascent() + s->raw.descent();
    qreal grundlinie = rect.top() + s->raw.ascent();
    if (alignment & Qt::AlignVCenter) {
        grundlinie += (rect.height() - hoehe) / 2;
    } else if (alignment & Qt::AlignBottom) {
        grundlinie = rect.bottom() - s->raw.descent();
    }
    // Whole pixels: each glyph is then rendered once and blitted from the glyph cache.
    for (QPointF& stelle : stellen_) {
        stelle = QPointF(std::round(links + stelle.x()), std::round(grundlinie));
    }
    QGlyphRun lauf;
    lauf.setRawFont(s->raw);
    lauf.setGlyphIndexes(glyphen_);
    lauf.setPositions(stellen_);
    painter.drawGlyphRun(QPointF(0, 0), lauf);
    return true;
}

void ZeitLabel::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(this);
        painter.setFont(font());
        painter.setPen(
            palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
        if (glyphen_.zeichnen(painter, contentsRect(), alignment(), text())) {
            return;
        }
    }
    QLabel::paintEvent(event);
}

const QStaticText& GridDelegate::layout(const QString& text, const QFont& font) const {
    // Texts repeat (clients, matters); a window that met very many starts afresh.
    constexpr qsizetype kHoechstens = 4096;
    QHash<QString, QStaticText>& layouts = layouts_[font.bold() ? 1 : 0];
    auto it = layouts.find(text);
    if (it == layouts.end()) {
        if (layouts.size() >= kHoechstens) {
            layouts.clear();
        }
        QStaticText neu(text);
        neu.setTextFormat(Qt::PlainText);
        neu.setPerformanceHint(QStaticText::AggressiveCaching);
        neu.prepare(QTransform(), font);
        it = layouts.insert(text, neu);
    }
    return *it;
}

void GridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    if (opt.text.isEmpty() || opt.features.testFlag(QStyleOptionViewItem::HasDecoration) ||
        opt.features.testFlag(QStyleOptionViewItem::HasCheckIndicator)) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const QString text = opt.text;
    // The cell's background, marking and focus as the style draws them; then the text.
    opt.text.clear();
    const QWidget* widget = opt.widget;
    QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
    const int rand = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect rect = opt.rect.adjusted(rand, 0, -rand, 0);
    painter->save();
    painter->setClipRect(rect, Qt::IntersectClip);
    painter->setFont(opt.font);
    const QPalette::ColorGroup gruppe =
        (opt.state & QStyle::State_Enabled) ? QPalette::Normal : QPalette::Disabled;
    painter->setPen(opt.palette.color(
        gruppe, (opt.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text));
    if (!glyphen_.zeichnen(*painter, rect, opt.displayAlignment, text)) {
        const QStaticText& t = layout(text, opt.font);
        const QSizeF groesse = t.size();
        qreal x = rect.left();
        if (opt.displayAlignment & Qt::AlignHCenter) {
            x += (rect.width() - groesse.width()) / 2;
        } else if (opt.displayAlignment & Qt::AlignRight) {
            x = rect.right() - groesse.width();
        }
        const qreal y = rect.top() + (rect.height() - groesse.height()) / 2;
        painter->drawStaticText(QPointF(std::round(x), std::round(y)), t);
    }
    painter->restore();
}

}  // namespace orv::ui
