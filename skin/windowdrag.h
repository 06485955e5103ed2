#pragma once

#include <QObject>
#include <QPoint>

class QWidget;

namespace kivo {

// Makes a title strip move its frameless window: a left-button press asks the
// window system to move the window; where it cannot (some platforms), the window
// follows the mouse until the button is released.
class WindowDrag : public QObject
{
    Q_OBJECT
public:
    // `strip` lies inside the window it moves; the filter lives as long as the strip.
    static WindowDrag *install(QWidget *strip);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit WindowDrag(QWidget *strip);
    QWidget *m_strip;
    bool m_following = false;
    QPoint m_grabOffset;
};

} // namespace kivo
