#include "lyrics/ui/lyriclinewidget.h"

#include "lyrics/lyricscontroller.h"
#include "lyrics/ui/lyrictextlabel.h"
#include "skin/skin.h"
#include "skin/twips.h"

#include <QFontMetrics>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace kivo {

namespace {

QLabel *lineLabel(const QString &name, QWidget *parent)
{
    auto *label = new LyricTextLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setContentsMargins(0, 0, 0, 0);
    label->setMargin(0);
    label->setIndent(0);
    label->setWordWrap(false);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

void setTextColour(QLabel *label, const QColor &colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

} // namespace

LyricLineWidget::LyricLineWidget(const Names &names, QWidget *parent)
    : QWidget(parent)
    , m_groove([this](QPainter &painter, const QRect &bounds) {
        Skin::paintGroove(painter, bounds);
        if (m_knobMark) {
            painter.setPen(QPen(Skin::kAccent, 1));
            painter.drawLine(QPointF(1.5, bounds.height() - 2.5), QPointF(6.5, bounds.height() - 2.5));
        }
    })
{
    setObjectName(QStringLiteral("Picture2"));
    setAccessibleName(QStringLiteral("歌词"));
    QFont font = this->font();
    font.setPointSizeF(11);
    font.setBold(true);
    setFont(font);
    m_base = lineLabel(names.base, this);
    m_highlight = lineLabel(names.highlight, this);
    if (!names.secondLine.isEmpty()) {
        m_second = lineLabel(names.secondLine, this);
        QFont small = font;
        small.setBold(false);
        small.setPointSizeF(9);
        m_second->setFont(small);
        setTextColour(m_second, Skin::kDimText);
    }
    m_highlight->raise();
    // The wipe only grows the highlight: its text stays put, so a step repaints
    // just the strip newly sung.
    m_highlight->setAttribute(Qt::WA_StaticContents);
    setHighlightColor(Qt::red);
    apply(LyricLabels {});
}

void LyricLineWidget::setHighlightColor(const QColor &colour)
{
    setTextColour(m_highlight, colour);
}

void LyricLineWidget::setKnobMark(bool on)
{
    m_knobMark = on;
    m_groove.invalidate();
    update();
}

int LyricLineWidget::textWidthTwips(const QString &text) const
{
    return pixelsToTwips(QFontMetrics(m_base->font()).horizontalAdvance(text));
}

int LyricLineWidget::frameWidthTwips() const
{
    return pixelsToTwips(width());
}

void LyricLineWidget::apply(const LyricLabels &labels)
{
    if (m_base->text() != labels.baseText)
        m_base->setText(labels.baseText);
    if (m_highlight->text() != labels.overlayText)
        m_highlight->setText(labels.overlayText);
    // The highlight shows only the sung part; the frame clips both.
    const int baseWidth = (labels.baseWidth > 0 ? twipsToPixels(labels.baseWidth)
                                                : QFontMetrics(m_base->font()).horizontalAdvance(labels.baseText))
        + 2;
    const QRect base(twipsToPixels(labels.baseLeft), 0, baseWidth, m_lineHeight);
    const QRect highlight(
        twipsToPixels(labels.overlayLeft), 0, std::max(0, twipsToPixels(labels.overlayWidth)), m_lineHeight);
    if (m_base->geometry() != base)
        m_base->setGeometry(base);
    if (m_highlight->geometry() != highlight)
        m_highlight->setGeometry(highlight);
    m_highlight->setVisible(highlight.width() > 0 && !labels.overlayText.isEmpty());
    if (labels.baseColor != m_baseColour) {
        m_baseColour = labels.baseColor;
        // Black is the skin's neutral ink on this dark frame.
        setTextColour(m_base, labels.baseColor == kLyricBlack ? Skin::kText : QColor::fromRgb(labels.baseColor));
    }
}

void LyricLineWidget::follow(LyricsController *lyrics, Window window)
{
    if (!lyrics)
        return;
    auto measure = [this](const QString &text) { return textWidthTwips(text); };
    if (window == Window::Main)
        lyrics->setMainGeometry(frameWidthTwips(), measure);
    else
        lyrics->setMiniGeometry(frameWidthTwips(), measure);
    auto show
        = [this, lyrics, window] { apply(window == Window::Main ? lyrics->screen().main : lyrics->screen().mini); };
    connect(lyrics, &LyricsController::screenChanged, this, show);
    show();
}

void LyricLineWidget::layoutLabels()
{
    m_lineHeight = m_second ? height() * 3 / 5 : height();
    if (m_second)
        m_second->setGeometry(4, m_lineHeight, width() - 8, height() - m_lineHeight);
    m_base->resize(m_base->width(), m_lineHeight);
    m_highlight->resize(m_highlight->width(), m_lineHeight);
}

void LyricLineWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutLabels();
}

void LyricLineWidget::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    m_groove.paint(painter, this, event->rect());
}

void LyricLineWidget::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        Q_EMIT clicked();
}

} // namespace kivo
