#pragma once

#include "shell/busypulse.h"

#include <QTimer>
#include <QWidget>

class QLabel;

namespace kivo {

// Form3: the busy overlay shown around long operations, with its pulsing caption.
class BusyOverlay : public QWidget
{
    Q_OBJECT
public:
    explicit BusyOverlay(QWidget *owner);

    void showBusy(const QString &text); // empty text: the default loading caption
    void hideBusy();
    void setCaption(const QString &text);
    QString caption() const;
    void setRequestTimeoutSeconds(int seconds) { m_pulse.setRequestTimeoutSeconds(seconds); }
    bool isPulsing() const { return m_timer.isActive(); }

    static QString defaultCaption() { return u"正在调入(loading......)"_qs; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void tick();

    QLabel *m_label;
    QTimer m_timer;
    BusyPulse m_pulse;
};

} // namespace kivo
