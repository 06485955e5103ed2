#pragma once

#include "online/tabstrip.h"

#include <QWidget>

class QLabel;

namespace kivo {

// One tab header of the result strip: the drawn header picture (`xs1`) with the
// caption label (`xs2`) on it. Click brings the tab forward, double-click closes it.
class TabHeader : public QWidget
{
    Q_OBJECT
public:
    TabHeader(int tab, const QString &title, QWidget *parent = nullptr);

    int tab() const { return m_tab; }
    HeaderState state() const { return m_state; }
    void setState(HeaderState state);
    QLabel *caption() const { return m_caption; }

    // The three header pictures, drawn once.
    static QPixmap picture(HeaderState state);

Q_SIGNALS:
    void activated(int tab);
    void closeRequested(int tab);
    void hovered(int tab);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;

private:
    int m_tab;
    HeaderState m_state = HeaderState::Normal;
    QLabel *m_caption;
};

} // namespace kivo
