#include "lyrics/ui/lyriclinewidget.h"
#include "lyrics/ui/lyrictextlabel.h"
#include "skin/knobs.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QTest>

using namespace kivo;

namespace {

bool isRed(QRgb p)
{
    return qRed(p) > 150 && qGreen(p) < 90 && qBlue(p) < 90;
}
bool isBaseInk(QRgb p)
{
    return qRed(p) > 120 && qBlue(p) > 120 && qGreen(p) < 110;
} // RGB(200, 40, 200)

// Renders a 300 x 30 line inside a larger parent, which shows where the frame clips.
QImage render(const LyricLabels &labels, QRect *frameInImage)
{
    QWidget parent;
    parent.resize(400, 60);
    LyricLineWidget line({u"Label4"_qs, u"Label8"_qs, {}}, &parent);
    line.setGeometry(50, 15, 300, 30);
    line.apply(labels);
    const QImage image = parent.grab().toImage();
    *frameInImage = QRect(QPoint(50, 15) * image.devicePixelRatio(), QSize(300, 30) * image.devicePixelRatio());
    return image;
}

LyricLabels wideLine(int overlayPixels)
{
    LyricLabels labels;
    labels.baseText = u"MMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMM"_qs;
    labels.overlayText = labels.baseText;
    labels.baseColor = qRgb(200, 40, 200);
    labels.baseLeft = labels.overlayLeft = 0;
    labels.overlayWidth = pixelsToTwips(overlayPixels);
    return labels;
}

class PaintCounter : public QObject
{
public:
    int count = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

} // namespace

class LyricLineTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void objectNames()
    {
        LyricLineWidget main({u"Label4"_qs, u"Label8"_qs, u"Label2"_qs});
        QCOMPARE(main.objectName(), u"Picture2"_qs);
        QVERIFY(main.findChild<QLabel *>(u"Label4"_qs));
        QVERIFY(main.findChild<QLabel *>(u"Label8"_qs));
        QVERIFY(main.findChild<QLabel *>(u"Label2"_qs));
        QCOMPARE(main.baseLabel()->text(), kWelcomeLine);
    }

    void highlightCoversTheSungPartExactly()
    {
        QRect frame;
        const QImage withHighlight = render(wideLine(80), &frame);
        const QImage baseOnly = render(wideLine(0), &frame);
        const qreal dpr = withHighlight.devicePixelRatio();
        QCOMPARE(withHighlight.size(), QSize(400, 60) * dpr); // drawn at the screen's own resolution
        const int cut = frame.left() + int(80 * dpr);
        int red = 0, inkAfterCut = 0;
        for (int y = frame.top(); y <= frame.bottom(); ++y) {
            for (int x = 0; x < withHighlight.width(); ++x) {
                const QRgb p = withHighlight.pixel(x, y);
                if (isRed(p)) {
                    ++red;
                    QVERIFY2(x >= frame.left() && x < cut + 1, "red outside the sung part");
                    // Every red pixel lies on a glyph of the base line: the two overlap.
                    QVERIFY2(baseOnly.pixel(x, y) != baseOnly.pixel(frame.left() + 1, frame.top() + 1),
                        "red where the base line has no ink");
                }
                if (x > cut + 1 && isBaseInk(p))
                    ++inkAfterCut;
            }
        }
        QVERIFY(red > 20);
        QVERIFY(inkAfterCut > 20);
    }

    // A wipe that moved by less than a device pixel asks for no repaint; one whole
    // pixel does.
    void repaintsOnlyWhenTheWipeMovesAPixel()
    {
        QWidget window;
        window.resize(400, 60);
        LyricLineWidget line({u"Label4"_qs, u"Label8"_qs, {}}, &window);
        line.setGeometry(50, 15, 300, 30);
        LyricLabels labels = wideLine(80);
        line.apply(labels);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        PaintCounter paints;
        for (QWidget *w : {static_cast<QWidget *>(&line), static_cast<QWidget *>(line.baseLabel()),
                 static_cast<QWidget *>(line.highlightLabel())})
            w->installEventFilter(&paints);
        QCoreApplication::processEvents();
        paints.count = 0;

        labels.overlayWidth += 5; // a third of a pixel
        line.apply(labels);
        QTest::qWait(30);
        QCOMPARE(paints.count, 0);

        labels.overlayWidth = pixelsToTwips(81);
        line.apply(labels);
        QTRY_VERIFY(paints.count > 0);
    }

    void frameClipsLineAndHighlight()
    {
        QRect frame;
        LyricLabels labels = wideLine(2000); // far wider than the frame
        labels.baseLeft = labels.overlayLeft = -pixelsToTwips(40);
        const QImage image = render(labels, &frame);
        int redInside = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                if (frame.contains(x, y)) {
                    redInside += isRed(p) ? 1 : 0;
                    continue;
                }
                QVERIFY2(!isRed(p) && !isBaseInk(p), "line drawn outside its frame");
            }
        }
        QVERIFY(redInside > 20);
    }

    void emptyHighlightDrawsNothingRed()
    {
        QRect frame;
        LyricLabels labels = wideLine(80);
        labels.overlayText.clear();
        const QImage image = render(labels, &frame);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                QVERIFY(!isRed(image.pixel(x, y)));
    }

    // The line draws its captions from pixmaps kept between paints: what it shows
    // after a new caption and a new colour is what a fresh line shows with them, and
    // what a plain label draws.
    void keptDrawingFollowsCaptionAndColour()
    {
        QWidget parent;
        parent.resize(400, 60);
        LyricLineWidget line({u"Label4"_qs, u"Label8"_qs, {}}, &parent);
        line.setGeometry(50, 15, 300, 30);
        line.apply(wideLine(80));
        (void)parent.grab();
        LyricLabels next = wideLine(120);
        next.baseText = next.overlayText = u"WWWW WWWW"_qs;
        line.apply(next);
        (void)parent.grab();
        line.setHighlightColor(QColor(40, 220, 40));
        const QImage kept = parent.grab().toImage();
        QWidget freshParent;
        freshParent.resize(400, 60);
        LyricLineWidget fresh({u"Label4"_qs, u"Label8"_qs, {}}, &freshParent);
        fresh.setGeometry(50, 15, 300, 30);
        fresh.setHighlightColor(QColor(40, 220, 40));
        fresh.apply(next);
        QCOMPARE(kept, freshParent.grab().toImage());

        // On a dark ground the kept caption blends exactly as a label drawing itself.
        const QLabel *caption = line.highlightLabel();
        const auto onGround = [caption](QLabel *copy) {
            QWidget ground;
            ground.setAutoFillBackground(true);
            ground.setPalette(QPalette(Qt::black));
            ground.resize(caption->size());
            copy->setParent(&ground);
            copy->setText(caption->text());
            copy->setFont(caption->font());
            copy->setAlignment(caption->alignment());
            copy->resize(caption->size());
            copy->setPalette(QPalette(Qt::red));
            (void)ground.grab();
            copy->setPalette(caption->palette());
            return ground.grab().toImage();
        };
        QCOMPARE(onGround(new LyricTextLabel), onGround(new QLabel));
    }

    void measuresInTwips()
    {
        LyricLineWidget line({u"Label2"_qs, u"Label4"_qs, {}});
        line.resize(200, 24);
        QCOMPARE(line.frameWidthTwips(), 3000);
        QVERIFY(line.textWidthTwips(u"MM"_qs) > line.textWidthTwips(u"M"_qs));
        QCOMPARE(line.textWidthTwips(u"M"_qs) % kTwipsPerPixel, 0);
    }
};

int main(int argc, char **argv)
{
    // A high-density screen: the line must be drawn at its full resolution.
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    LyricLineTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_lyricline.moc"
