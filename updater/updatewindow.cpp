#include "updater/updatewindow.h"

#include "updater/updatecontroller.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QPushButton>
#include <QWindow>

namespace kivo {

namespace {

constexpr int kRadius = 8;
constexpr int kTitleHeight = 28;

const char kStyle[] = R"(
QLabel#Label1 { color: #e8ecf2; }
QLabel#titleStrip { color: #aebfcc; font-weight: bold; padding-left: 10px; }
QPushButton#Command1, QPushButton#Command2, QPushButton#closeButton {
    color: #e8ecf2; border: 1px solid #0b0d11; border-radius: 4px; padding: 4px 14px;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #3c4350, stop:1 #1b1f27);
}
QPushButton#Command1:hover, QPushButton#Command2:hover, QPushButton#closeButton:hover {
    border-color: #4fc3f7;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #5a667a, stop:1 #272e3a);
}
QPushButton#Command1:disabled, QPushButton#Command2:disabled { color: #5f6773; }
QPushButton#closeButton { padding: 0; min-width: 20px; max-width: 20px; min-height: 18px; max-height: 18px; }
QProgressBar#ProgressBar1 { border: 1px solid #2a2f39; border-radius: 4px; background: #0b0d11; max-height: 12px; }
QProgressBar#ProgressBar1::chunk { border-radius: 3px; background: #4fc3f7; }
)";

// Picture1: a disc with an arrow into it, the update's sign.
QPixmap updatePicture(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient disc(0, 0, 0, size);
    disc.setColorAt(0, QColor(0x4f, 0xc3, 0xf7));
    disc.setColorAt(1, QColor(0x00, 0x5a, 0xaa));
    p.setPen(QPen(QColor(0, 0, 0, 160), 1));
    p.setBrush(disc);
    p.drawEllipse(QRectF(1, 1, size - 2, size - 2));
    const qreal c = size / 2.0, s = size / 4.0;
    QPainterPath arrow;
    arrow.moveTo(c - s * 0.35, c - s * 1.1);
    arrow.lineTo(c + s * 0.35, c - s * 1.1);
    arrow.lineTo(c + s * 0.35, c);
    arrow.lineTo(c + s, c);
    arrow.lineTo(c, c + s * 1.1);
    arrow.lineTo(c - s, c);
    arrow.lineTo(c - s * 0.35, c);
    arrow.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xe8, 0xec, 0xf2));
    p.drawPath(arrow);
    return pixmap;
}

} // namespace

UpdateWindow::UpdateWindow(UpdateController *controller, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , m_controller(controller)
{
    setObjectName(u"Form1"_qs);
    setWindowTitle(u"更新程序"_qs);
    setAttribute(Qt::WA_TranslucentBackground);
    setStyleSheet(QString::fromUtf8(kStyle));
    setFixedSize(420, 180);

    m_title = new QLabel(u"更新程序"_qs, this);
    m_title->setObjectName(u"titleStrip"_qs);
    m_title->setFixedHeight(kTitleHeight);
    m_title->installEventFilter(this);
    auto *close = new QPushButton(u"×"_qs, this);
    close->setObjectName(u"closeButton"_qs);
    close->setAccessibleName(u"关闭"_qs);
    close->setToolTip(u"关闭"_qs);
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    auto *picture = new QLabel(this);
    picture->setObjectName(u"Picture1"_qs);
    picture->setPixmap(updatePicture(48));
    picture->setFixedSize(48, 48);
    m_status = new QLabel(this);
    m_status->setObjectName(u"Label1"_qs);
    m_status->setTextFormat(Qt::PlainText);
    m_status->setWordWrap(true);
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(u"ProgressBar1"_qs);
    m_bar->setRange(0, 100);
    m_bar->setTextVisible(false);
    m_bar->setAccessibleName(u"更新进度"_qs);
    m_stop = new QPushButton(u"停止更新"_qs, this);
    m_stop->setObjectName(u"Command1"_qs);
    m_stop->setAccessibleName(m_stop->text());
    m_restart = new QPushButton(u"重新开始下载"_qs, this);
    m_restart->setObjectName(u"Command2"_qs);
    m_restart->setAccessibleName(m_restart->text());
    connect(m_stop, &QPushButton::clicked, controller, &UpdateController::stop);
    connect(m_restart, &QPushButton::clicked, controller, &UpdateController::restart);

    auto *titleRow = new QHBoxLayout;
    titleRow->setContentsMargins(0, 0, 6, 0);
    titleRow->addWidget(m_title, 1);
    titleRow->addWidget(close);
    auto *info = new QVBoxLayout;
    info->addWidget(m_status);
    info->addWidget(m_bar);
    auto *middle = new QHBoxLayout;
    middle->setContentsMargins(16, 8, 16, 0);
    middle->setSpacing(14);
    middle->addWidget(picture, 0, Qt::AlignTop);
    middle->addLayout(info, 1);
    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(16, 0, 16, 14);
    buttons->addStretch(1);
    buttons->addWidget(m_stop);
    buttons->addWidget(m_restart);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addLayout(titleRow);
    column->addLayout(middle, 1);
    column->addLayout(buttons);

    connect(controller, &UpdateController::changed, this, &UpdateWindow::refresh);
    connect(controller, &UpdateController::message, this, &UpdateWindow::showMessage);
    refresh();
}

void UpdateWindow::refresh()
{
    m_status->setText(m_controller->status());
    m_bar->setValue(m_controller->percent());
    m_stop->setEnabled(m_controller->stopEnabled());
    m_restart->setEnabled(m_controller->restartEnabled());
}

// Not modal for the program: the transfer and the buttons go on behind it.
void UpdateWindow::showMessage(const UpdateMessage &message)
{
    const auto icon = message.icon == UpdateMessage::Icon::Critical ? QMessageBox::Critical : QMessageBox::Information;
    auto *box = new QMessageBox(icon, message.caption, message.text, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    box->open();
}

void UpdateWindow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0.0, QColor(0x3a, 0x40, 0x4c));
    fill.setColorAt(qreal(kTitleHeight) / height(), QColor(0x2a, 0x2f, 0x39));
    fill.setColorAt(1.0, QColor(0x14, 0x17, 0x1d));
    p.setPen(QPen(QColor(0, 0, 0, 200), 1));
    p.setBrush(fill);
    p.drawRoundedRect(box, kRadius, kRadius);
    p.setPen(QPen(QColor(255, 255, 255, 40), 1));
    p.drawLine(QPointF(kRadius, kTitleHeight + 0.5), QPointF(width() - kRadius, kTitleHeight + 0.5));
}

// The title strip moves the window: through the window system where it can,
// else by following the mouse.
bool UpdateWindow::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (watched != m_title
        || (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease))
        return false;
    const auto *mouse = static_cast<QMouseEvent *>(event);
    if (type == QEvent::MouseButtonPress) {
        if (mouse->button() != Qt::LeftButton)
            return false;
        if (windowHandle() && windowHandle()->startSystemMove())
            return true;
        m_dragging = true;
        m_grabOffset = mouse->globalPosition().toPoint() - frameGeometry().topLeft();
        return true;
    }
    if (type == QEvent::MouseMove && m_dragging)
        move(mouse->globalPosition().toPoint() - m_grabOffset);
    const bool handled = m_dragging;
    if (type == QEvent::MouseButtonRelease)
        m_dragging = false;
    return handled;
}

} // namespace kivo
