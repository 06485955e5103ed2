#pragma once

#include <QPointer>
#include <QWidget>

namespace kivo {

class MediaEngine;

// The video pane under the result tabs. It holds the engine's video surface; a click
// toggles full screen, Escape leaves it. Full screen follows the engine's flag, so the
// player's handlers (which switch it off when a new address opens) drive it too.
class VideoDisplay : public QWidget
{
    Q_OBJECT
public:
    explicit VideoDisplay(MediaEngine *engine, QWidget *parent = nullptr);
    ~VideoDisplay() override;

    // The engine's surface, or nullptr when the engine draws no video.
    QWidget *surface() const { return m_surface; }
    // The window that shows the video full screen while it is on.
    QWidget *fullScreenWindow() const { return m_fullWindow; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void applyFullScreen(bool on);
    bool handleInput(QEvent *event);

    QPointer<MediaEngine> m_engine;
    QPointer<QWidget> m_surface;
    QPointer<QWidget> m_fullWindow;
};

} // namespace kivo
