#pragma once

#include <QFont>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QStaticText>

namespace kivo {

// One caption of the karaoke line. The line's wipe moves several times a second
// while the caption stays the same, so the text is shaped and drawn once into a
// pixmap at the screen's pixel ratio and every later paint is a blit of the
// part asked for.
class LyricTextLabel : public QLabel
{
    Q_OBJECT
public:
    explicit LyricTextLabel(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // What the drawn pixmap depends on; any difference draws it anew.
    struct Drawn
    {
        QString text;
        QFont font;
        QRgb colour = 0;
        int width = 0;
        int height = 0;
        int alignment = 0;
        qreal ratio = 0;
        bool operator==(const Drawn &) const = default;
    };
    Drawn current() const;
    void draw(const Drawn &what);

    Drawn m_drawn;
    QPixmap m_pixmap;
    // The glyphs' coverage of a left-aligned caption: the base line fades its
    // colour many times a second, and a new colour only tints this again.
    QImage m_coverage;
    QStaticText m_shaped;
    QFont m_shapedFont;
    int m_shapedWidth = 0;
};

} // namespace kivo
