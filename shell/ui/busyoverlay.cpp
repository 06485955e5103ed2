#include "shell/ui/busyoverlay.h"

#include "skin/skin.h"
#include "skin/twips.h"

#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace kivo {

BusyOverlay::BusyOverlay(QWidget *owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
    , m_label(new QLabel(defaultCaption(), this))
{
    setObjectName(u"Form3"_qs);
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(twipsToPixels(3870), twipsToPixels(2100));
    m_label->setObjectName(u"Label1"_qs);
    m_label->setTextFormat(Qt::PlainText);
    m_label->setAlignment(Qt::AlignCenter);
    m_label->setWordWrap(true);
    QFont f = m_label->font();
    f.setPointSizeF(f.pointSizeF() * 1.15);
    f.setBold(true);
    m_label->setFont(f);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->addWidget(m_label);
    setAccessibleName(u"正在调入"_qs);
    m_timer.setInterval(50);
    connect(&m_timer, &QTimer::timeout, this, &BusyOverlay::tick);
}

void BusyOverlay::showBusy(const QString &text)
{
    setCaption(text.isEmpty() ? defaultCaption() : text);
    if (!isVisible()) {
        if (QWidget *owner = parentWidget())
            move(owner->geometry().center() - rect().center());
        show();
    }
    m_pulse.restart();
    m_timer.start();
}

void BusyOverlay::hideBusy()
{
    m_timer.stop();
    hide();
    m_pulse.restart();
}

void BusyOverlay::setCaption(const QString &text)
{
    m_label->setText(text);
}

QString BusyOverlay::caption() const
{
    return m_label->text();
}

void BusyOverlay::tick()
{
    const BusyPulse::Step step = m_pulse.tick();
    QPalette pal = m_label->palette();
    pal.setColor(QPalette::WindowText, step.color);
    m_label->setPalette(pal);
    if (step.hide) {
        m_timer.stop();
        hide();
    }
}

void BusyOverlay::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    Skin::paintOverlay(p, rect());
}

void BusyOverlay::mouseDoubleClickEvent(QMouseEvent *)
{
    m_timer.stop();
    hide();
}

} // namespace kivo
