#include "online/ui/tabheader.h"

#include "skin/twips.h"

#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace kivo {

namespace {
constexpr int kWidth = twipsToPixels(TabStrip::kHeaderWidth); // 80 px
constexpr int kHeight = 20;
} // namespace

QPixmap TabHeader::picture(HeaderState state)
{
    static QPixmap pictures[3];
    QPixmap &p = pictures[int(state)];
    if (!p.isNull())
        return p;
    p = QPixmap(kWidth, kHeight);
    p.fill(Qt::transparent);
    QPainter painter(&p);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, kHeight);
    switch (state) {
    case HeaderState::Normal:
        g.setColorAt(0, QColor(0xe4, 0xea, 0xf2));
        g.setColorAt(1, QColor(0xc4, 0xcf, 0xdd));
        break;
    case HeaderState::Hover:
        g.setColorAt(0, QColor(0xf2, 0xf6, 0xfc));
        g.setColorAt(1, QColor(0xd6, 0xe2, 0xf2));
        break;
    case HeaderState::Selected:
        g.setColorAt(0, QColor(0xff, 0xff, 0xff));
        g.setColorAt(1, QColor(0xe9, 0xf1, 0xfb));
        break;
    }
    QPainterPath path;
    path.addRoundedRect(QRectF(0.5, 0.5, kWidth - 2, kHeight + 4), 4, 4);
    painter.fillPath(path, g);
    painter.setPen(state == HeaderState::Selected ? QColor(0x5a, 0x7f, 0xb0) : QColor(0x8c, 0x9c, 0xb4));
    painter.drawPath(path);
    return p;
}

TabHeader::TabHeader(int tab, const QString &title, QWidget *parent)
    : QWidget(parent)
    , m_tab(tab)
    , m_caption(new QLabel(this))
{
    setObjectName(u"xs1"_qs);
    setFixedSize(kWidth, kHeight);
    setMouseTracking(true);
    setToolTip(title);
    setAccessibleName(title.trimmed());
    setAccessibleDescription(u"标签页"_qs);
    m_caption->setObjectName(u"xs2"_qs);
    m_caption->setTextFormat(Qt::PlainText);
    m_caption->setToolTip(title);
    m_caption->setAccessibleName(title.trimmed());
    m_caption->setAttribute(Qt::WA_TransparentForMouseEvents);
    // Caption 75 twips in and 60 down from the header's corner; a title too long for
    // the header ends with "…" (the tooltip has it whole).
    m_caption->setGeometry(5, 4, kWidth - 8, kHeight - 4);
    m_caption->setText(m_caption->fontMetrics().elidedText(title.trimmed(), Qt::ElideRight, m_caption->width()));
}

void TabHeader::setState(HeaderState state)
{
    if (m_state == state)
        return;
    m_state = state;
    update();
}

void TabHeader::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawPixmap(0, 0, picture(m_state));
}

void TabHeader::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        Q_EMIT activated(m_tab);
}

void TabHeader::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        Q_EMIT closeRequested(m_tab);
}

void TabHeader::mouseMoveEvent(QMouseEvent *)
{
    Q_EMIT hovered(m_tab);
}

void TabHeader::enterEvent(QEnterEvent *)
{
    Q_EMIT hovered(m_tab);
}

} // namespace kivo
