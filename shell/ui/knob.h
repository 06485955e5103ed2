#pragma once

#include <QPixmap>
#include <QWidget>

namespace kivo {

// A horizontal knob of a skinned window: a picture the user drags sideways. It
// only reports the mouse (x in twips, in its own coordinates); its owner decides
// where it goes (see shell/knobs.h) and places it with setLeftTwips.
class Knob : public QWidget
{
    Q_OBJECT
public:
    explicit Knob(const QString &accessibleName, QWidget *parent = nullptr);

    void setImage(const QPixmap &image);
    int leftTwips() const;
    void setLeftTwips(int left);
    bool isHeld() const { return m_held; }

Q_SIGNALS:
    void pressed(int xTwips);
    void moved(int xTwips);
    void released();
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    QPixmap m_image;
    int m_leftTwips = 0;
    bool m_held = false;
};

} // namespace kivo
