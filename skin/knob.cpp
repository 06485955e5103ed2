#include "skin/knob.h"

#include "skin/knobs.h"
#include "skin/skin.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace kivo {

Knob::Knob(const QString &accessibleName, QWidget *parent)
    : QWidget(parent)
{
    setAccessibleName(accessibleName);
    setToolTip(accessibleName);
    setCursor(Qt::SizeHorCursor);
}

Knob *Knob::create(
    QWidget *parent, const QString &objectName, const QString &accessibleName, QSize size, int y, int leftTwips)
{
    auto *knob = new Knob(accessibleName, parent);
    knob->setObjectName(objectName);
    knob->resize(size);
    knob->move(0, y);
    const qreal dpr = parent && parent->devicePixelRatioF() > 0 ? parent->devicePixelRatioF() : 1.0;
    knob->setImage(Skin::knob(size, dpr));
    knob->setLeftTwips(leftTwips);
    return knob;
}

QRectF Knob::grooveRect(const KnobTrack &track, QSize size, int y)
{
    const int left = twipsToPixels(track.minLeft);
    const int right = twipsToPixels(track.maxLeft) + size.width();
    return QRectF(left, y + size.height() / 2 - 2, right - left, 4);
}

void Knob::setImage(const QPixmap &image)
{
    m_image = image;
    update();
}

int Knob::leftTwips() const
{
    return m_leftTwips;
}

void Knob::setLeftTwips(int left)
{
    if (left == m_leftTwips && x() == twipsToPixels(left))
        return;
    m_leftTwips = left;
    move(twipsToPixels(left), y());
}

void Knob::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!m_image.isNull())
        painter.drawPixmap(rect(), m_image);
}

// The knob moves under the mouse, so positions are read in its own coordinates.
static int localTwips(const QMouseEvent *event)
{
    return int(std::lround(event->position().x() * kTwipsPerPixel));
}

void Knob::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_held = true;
    Q_EMIT pressed(localTwips(event));
}

void Knob::mouseMoveEvent(QMouseEvent *event)
{
    if (m_held)
        Q_EMIT moved(localTwips(event));
}

void Knob::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_held = false;
    Q_EMIT released();
}

void Knob::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        Q_EMIT doubleClicked();
}

} // namespace kivo
