#pragma once

#include <QPoint>
#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

namespace kivo {

class UpdateController;
struct UpdateMessage;

// Form1 of the update program: a frameless dark window drawn in code (the
// program links nothing of the player's skin), dragged by its title strip. It
// shows what the controller says and passes the buttons on.
class UpdateWindow : public QWidget
{
    Q_OBJECT
public:
    explicit UpdateWindow(UpdateController *controller, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void refresh();
    void showMessage(const UpdateMessage &message);

    UpdateController *m_controller;
    QLabel *m_title;
    QLabel *m_status;
    QProgressBar *m_bar;
    QPushButton *m_stop;
    QPushButton *m_restart;
    bool m_dragging = false;
    QPoint m_grabOffset;
};

} // namespace kivo
