#pragma once

#include "lyrics/lyrictick.h"
#include "skin/facecache.h"

#include <QColor>
#include <QWidget>

class QLabel;

namespace kivo {

class LyricsController;

// The karaoke line of one window: a frame (`Picture2`) that clips a base label and
// a highlight label lying exactly over it; the highlight's width is the part of
// the line already sung. The main window's line also has a second text line.
class LyricLineWidget : public QWidget
{
    Q_OBJECT
public:
    struct Names
    {
        QString base; // main window "Label4", mini player "Label2"
        QString highlight; // main window "Label8", mini player "Label4"
        QString secondLine; // main window "Label2"; empty: none
    };
    LyricLineWidget(const Names &names, QWidget *parent = nullptr);

    QLabel *baseLabel() const { return m_base; }
    QLabel *highlightLabel() const { return m_highlight; }
    QLabel *secondLineLabel() const { return m_second; }

    // The stored highlight colour (pure red by default).
    void setHighlightColor(const QColor &colour);
    // The toggle picture of the lyric offset knob: a mark at the neutral place when on.
    void setKnobMark(bool on);

    // Width in twips that a caption takes on this line (for the lyric timer).
    int textWidthTwips(const QString &text) const;
    int frameWidthTwips() const;

    // Shows one window's labels as the lyric timer left them.
    void apply(const LyricLabels &labels);

    // Follows the shared lyric state: this line's frame and font measure the
    // window's captions, and every change is shown.
    enum class Window { Main, Mini };
    void follow(LyricsController *lyrics, Window window);

Q_SIGNALS:
    // A click on the frame or the line: the knob toggle.
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void layoutLabels();

    QLabel *m_base;
    QLabel *m_highlight;
    QLabel *m_second = nullptr;
    QRgb m_baseColour = 0;
    bool m_knobMark = false;
    FaceCache m_groove; // the frame and its knob mark: a wipe step blits its strip of it
    int m_lineHeight = 0;
};

} // namespace kivo
