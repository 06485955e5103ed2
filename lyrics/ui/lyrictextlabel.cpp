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
    Drawn sameShape = m_drawn;
    sameShape.colour = what.colour;
    const bool recolourOnly = sameShape == what && !m_coverage.isNull();
    m_drawn = what;
    if (what.text.isEmpty() || what.height <= 0) {
        m_pixmap = QPixmap();
        m_coverage = QImage();
        return;
    }
    const bool leftCentred = alignment() == (Qt::AlignLeft | Qt::AlignVCenter) && what.width == 0;
    if (!leftCentred) {
        m_coverage = QImage();
        const int flags = QStyle::visualAlignment(layoutDirection(), alignment());
        m_pixmap = QPixmap(QSize(what.width, what.height) * what.ratio);
        m_pixmap.setDevicePixelRatio(what.ratio);
        m_pixmap.fill(Qt::transparent);
        QPainter painter(&m_pixmap);
        painter.setFont(what.font);
        style()->drawItemText(
            &painter, QRect(0, 0, what.width, what.height), flags, palette(), isEnabled(), what.text, foregroundRole());
        return;
    }
    if (!recolourOnly) {
        if (what.text != m_shaped.text() || what.font != m_shapedFont) {
            const QFontMetrics metrics(what.font);
            m_shaped = QStaticText(what.text);
            m_shaped.setTextFormat(Qt::PlainText);
            m_shapedFont = what.font;
            // Room for glyphs that reach past their advance (bold, italic).
            m_shapedWidth = metrics.horizontalAdvance(what.text) + metrics.height();
        }
        m_coverage = QImage(QSize(m_shapedWidth, what.height) * what.ratio, QImage::Format_ARGB32_Premultiplied);
        m_coverage.setDevicePixelRatio(what.ratio);
        m_coverage.fill(Qt::transparent);
        QPainter painter(&m_coverage);
        painter.setFont(what.font);
        painter.setPen(Qt::white);
        painter.drawStaticText(QPointF(0, (what.height - QFontMetricsF(what.font).height()) / 2), m_shaped);
    }
    // The colour where the glyphs cover: what drawing them in it onto transparency gives.
    QImage tinted = m_coverage.copy();
    tinted.setDevicePixelRatio(what.ratio);
    {
        QPainter painter(&tinted);
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(QRectF(QPointF(0, 0), tinted.deviceIndependentSize()), QColor::fromRgba(what.colour));
    }
    m_pixmap = QPixmap::fromImage(std::move(tinted));
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
