#pragma once

#include <QPixmap>
#include <QRectF>
#include <QWidget>

namespace kivo {

struct KnobTrack;

// A horizontal knob of a skinned window: a picture the user drags sideways. It
// only reports the mouse (x in twips, in its own coordinates); its owner decides
// where it goes (see skin/knobs.h) and places it with setLeftTwips.
class Knob : public QWidget
{
    Q_OBJECT
public:
    explicit Knob(const QString &accessibleName, QWidget *parent = nullptr);

    // A knob of a window: named, with the skin's knob picture at `size`, its top at
    // `y` pixels and its left at `leftTwips`.
    static Knob *create(
        QWidget *parent, const QString &objectName, const QString &accessibleName, QSize size, int y, int leftTwips);
    // The groove a knob of `size` with its top at `y` slides along, in its window's pixels.
    static QRectF grooveRect(const KnobTrack &track, QSize size, int y);

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
