#include "playback/ui/videodisplay.h"

#include "playback/mediaengine.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace kivo {

VideoDisplay::VideoDisplay(MediaEngine *engine, QWidget *parent)
    : QWidget(parent)
    , m_engine(engine)
{
    setAccessibleName(QStringLiteral("视频显示"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    setFocusPolicy(Qt::ClickFocus);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_surface = engine->createVideoSurface(this);
    if (m_surface) {
        layout->addWidget(m_surface);
        m_surface->installEventFilter(this);
    }
    connect(engine, &MediaEngine::fullScreenChanged, this, &VideoDisplay::applyFullScreen);
}

VideoDisplay::~VideoDisplay()
{
    // The surface belongs to this pane, also while it is shown full screen.
    if (m_fullWindow && m_surface)
        m_surface->setParent(this);
    delete m_fullWindow;
}

bool VideoDisplay::eventFilter(QObject *watched, QEvent *event)
{
    if (handleInput(event))
        return true;
    return QWidget::eventFilter(watched, event);
}

void VideoDisplay::mouseReleaseEvent(QMouseEvent *event)
{
    if (!handleInput(event))
        QWidget::mouseReleaseEvent(event);
}

bool VideoDisplay::handleInput(QEvent *event)
{
    if (!m_engine)
        return false;
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        m_engine->setFullScreen(!m_engine->isFullScreen());
        return true;
    }
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape
        && m_engine->isFullScreen()) {
        m_engine->setFullScreen(false);
        return true;
    }
    return false;
}

void VideoDisplay::applyFullScreen(bool on)
{
    if (on) {
        if (!m_fullWindow) {
            m_fullWindow = new QWidget(nullptr, Qt::Window);
            m_fullWindow->setWindowTitle(QStringLiteral("视频"));
            m_fullWindow->setAccessibleName(QStringLiteral("全屏视频"));
            m_fullWindow->setStyleSheet(QStringLiteral("background: black;"));
            auto *layout = new QVBoxLayout(m_fullWindow);
            layout->setContentsMargins(0, 0, 0, 0);
            m_fullWindow->installEventFilter(this);
        }
        if (m_surface)
            m_fullWindow->layout()->addWidget(m_surface);
        m_fullWindow->showFullScreen();
        m_fullWindow->setFocus();
        return;
    }
    if (m_surface)
        layout()->addWidget(m_surface);
    if (m_fullWindow)
        m_fullWindow->hide();
}

} // namespace kivo
