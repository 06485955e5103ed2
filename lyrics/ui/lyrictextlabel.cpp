#include "lyrics/ui/lyrictextlabel.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>

namespace kivo {

LyricTextLabel::LyricTextLabel(QWidget *parent)
    : QLabel(parent)
{ }

LyricTextLabel::Drawn LyricTextLabel::current() const
{
    Drawn d;
    d.text = text();
    d.font = font();
    d.colour = palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()).rgba();
    d.height = contentsRect().height();
    d.alignment = int(alignment());
    // A left-aligned caption starts at the left edge whatever the width, so the
    // growing highlight keeps its pixmap; other alignments depend on the width.
    d.width = (alignment() & Qt::AlignLeft) ? 0 : contentsRect().width();
    d.ratio = devicePixelRatioF();
    return d;
}

void LyricTextLabel::draw(const Drawn &what)
{
    m_drawn = what;
    if (what.text.isEmpty() || what.height <= 0) {
        m_pixmap = QPixmap();
        return;
    }
    // The base line fades its colour while the caption stays: the shaped text is
    // kept too, so a new colour only draws the glyphs again.
    const bool reshape = what.text != m_shaped.text() || what.font != m_shapedFont;
    if (reshape) {
        const QFontMetrics metrics(what.font);
        m_shaped = QStaticText(what.text);
        m_shaped.setTextFormat(Qt::PlainText);
        m_shapedFont = what.font;
        // Room for glyphs that reach past their advance (bold, italic).
        m_shapedWidth = metrics.horizontalAdvance(what.text) + metrics.height();
    }
    const bool leftCentred = alignment() == (Qt::AlignLeft | Qt::AlignVCenter) && what.width == 0;
    const int width = what.width > 0 ? what.width : m_shapedWidth;
    m_pixmap = QPixmap(QSize(width, what.height) * what.ratio);
    m_pixmap.setDevicePixelRatio(what.ratio);
    m_pixmap.fill(Qt::transparent);
    QPainter painter(&m_pixmap);
    painter.setFont(what.font);
    if (leftCentred) {
        painter.setPen(QColor::fromRgba(what.colour));
        painter.drawStaticText(QPointF(0, (what.height - QFontMetricsF(what.font).height()) / 2), m_shaped);
        return;
    }
    const int flags = QStyle::visualAlignment(layoutDirection(), alignment());
    style()->drawItemText(
        &painter, QRect(0, 0, width, what.height), flags, palette(), isEnabled(), what.text, foregroundRole());
}

void LyricTextLabel::paintEvent(QPaintEvent *event)
{
    const Drawn now = current();
    if (!(now == m_drawn))
        draw(now);
    if (m_pixmap.isNull())
        return;
    QPainter painter(this);
    const QRect area = event->rect().intersected(contentsRect());
    const QPoint origin = contentsRect().topLeft();
    const QRect source(area.topLeft() - origin, area.size());
    painter.drawPixmap(
        area, m_pixmap, QRectF(QPointF(source.topLeft()) * m_drawn.ratio, QSizeF(source.size()) * m_drawn.ratio));
}

} // namespace kivo
