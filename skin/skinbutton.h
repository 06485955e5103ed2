#pragma once

#include "skin/skin.h"

#include <QAbstractButton>
#include <QPixmap>

namespace kivo {

// Object name of element `index` of a skinned control array ("bf" 3 -> "bf3").
QString skinArrayName(const QString &array, int index);

// An image button of a skinned window: its normal picture, and its hover picture
// while the mouse is over it; an icon or a caption, when set, is drawn on top. A
// button keeps showing its hover picture until its window restores it
// (RestoreButtonImages) or the mouse leaves the window.
class SkinButton : public QAbstractButton
{
    Q_OBJECT
public:
    explicit SkinButton(const QString &accessibleName, QWidget *parent = nullptr);

    void setImages(const QPixmap &normal, const QPixmap &hover);
    // The small windows' pictures: a plate with the glyph, at the button's present size.
    void setGlyph(Skin::Glyph glyph);
    bool isHoverShown() const { return m_hoverShown; }
    void showHoverImage();
    void restoreNormalImage();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    QPixmap m_normal, m_hover;
    bool m_hoverShown = false;
};

// Puts back the normal picture of every button that shows its hover picture.
void RestoreButtonImages(const QList<SkinButton *> &buttons);

} // namespace kivo
