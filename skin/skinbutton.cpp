#include "skin/skinbutton.h"

#include <QMouseEvent>
#include <QPainter>

namespace kivo {

QString skinArrayName(const QString &array, int index)
{
    return array + QString::number(index);
}

SkinButton::SkinButton(const QString &accessibleName, QWidget *parent)
    : QAbstractButton(parent)
{
    setAccessibleName(accessibleName);
    setToolTip(accessibleName);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
}

void SkinButton::setImages(const QPixmap &normal, const QPixmap &hover)
{
    m_normal = normal;
    m_hover = hover;
    update();
}

void SkinButton::setGlyph(Skin::Glyph glyph)
{
    const qreal dpr = devicePixelRatioF() > 0 ? devicePixelRatioF() : 1.0;
    setImages(Skin::glyphButton(glyph, size(), false, dpr), Skin::glyphButton(glyph, size(), true, dpr));
}

void SkinButton::showHoverImage()
{
    if (m_hoverShown)
        return;
    m_hoverShown = true;
    update();
}

void SkinButton::restoreNormalImage()
{
    if (!m_hoverShown)
        return;
    m_hoverShown = false;
    update();
}

QSize SkinButton::sizeHint() const
{
    if (m_normal.isNull())
        return {20, 20};
    return (QSizeF(m_normal.size()) / m_normal.devicePixelRatio()).toSize();
}

void SkinButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QPixmap &image = (m_hoverShown && !m_hover.isNull()) ? m_hover : m_normal;
    if (!image.isNull())
        painter.drawPixmap(rect(), image);
    // A plate may carry a changing picture (play/pause) or a caption on top.
    if (!icon().isNull()) {
        const QSize size = iconSize().boundedTo(this->size());
        const QRect where(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
        icon().paint(&painter, where, Qt::AlignCenter, m_hoverShown ? QIcon::Active : QIcon::Normal);
    }
    if (!text().isEmpty()) {
        painter.setPen(m_hoverShown ? QColor(Qt::white) : palette().color(QPalette::ButtonText));
        painter.drawText(rect(), Qt::AlignCenter, text());
    }
    if (isDown())
        painter.fillRect(rect(), QColor(0, 0, 0, 40));
}

void SkinButton::mouseMoveEvent(QMouseEvent *event)
{
    showHoverImage();
    QAbstractButton::mouseMoveEvent(event);
    // Not passed on: the window behind would put the normal picture back.
    event->accept();
}

void SkinButton::enterEvent(QEnterEvent *event)
{
    showHoverImage();
    QAbstractButton::enterEvent(event);
}

void SkinButton::leaveEvent(QEvent *event)
{
    // The mouse may leave the window without crossing its background.
    restoreNormalImage();
    QAbstractButton::leaveEvent(event);
}

void RestoreButtonImages(const QList<SkinButton *> &buttons)
{
    for (SkinButton *button : buttons) {
        if (button && button->isHoverShown())
            button->restoreNormalImage();
    }
}

} // namespace kivo
