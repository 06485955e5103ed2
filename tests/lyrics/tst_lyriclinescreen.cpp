// The karaoke line as the X server shows it: a real window under Xvfb, read back
// from the screen. The highlight lies on the base line's glyphs, covers only the
// sung part, and nothing of either line leaves the frame.
#include "lyrics/lyrictick.h"
#include "lyrics/ui/lyriclinewidget.h"
#include "skin/knobs.h"

#include <QApplication>
#include <QImage>
#include <QScreen>
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
}
} // namespace

class LyricLineScreenTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != u"xcb"_qs)
            QSKIP("needs an X display");
    }

    void highlightOnTheScreen()
    {
        QWidget window;
        window.setStyleSheet(u"background: black;"_qs);
        window.resize(400, 60);
        LyricLineWidget line({u"Label4"_qs, u"Label8"_qs, {}}, &window);
        const QRect frame(50, 15, 300, 30);
        line.setGeometry(frame);
        LyricLabels labels;
        labels.baseText = QString(60, QLatin1Char('M')); // wider than the frame
        labels.overlayText = labels.baseText;
        labels.baseColor = qRgb(200, 40, 200);
        labels.baseLeft = labels.overlayLeft = 0;
        labels.overlayWidth = pixelsToTwips(80);
        line.apply(labels);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::qWait(200);

        const QImage shot = window.screen()->grabWindow(window.winId()).toImage();
        QVERIFY(!shot.isNull());
        const qreal dpr = shot.devicePixelRatio();
        const QRect f(frame.topLeft() * dpr, frame.size() * dpr);
        const int cut = f.left() + int(80 * dpr);
        int red = 0, inkAfterCut = 0, outside = 0;
        for (int y = 0; y < shot.height(); ++y) {
            for (int x = 0; x < shot.width(); ++x) {
                const QRgb p = shot.pixel(x, y);
                const bool ink = isRed(p) || isBaseInk(p);
                if (!f.contains(x, y)) {
                    outside += ink ? 1 : 0;
                    continue;
                }
                if (isRed(p)) {
                    ++red;
                    QVERIFY2(x <= cut + 1, "highlight beyond the sung part");
                }
                if (x > cut + 1 && isBaseInk(p))
                    ++inkAfterCut;
            }
        }
        QVERIFY(red > 20); // the sung part shows in red over the glyphs
        QVERIFY(inkAfterCut > 20); // the rest shows the base line
        QCOMPARE(outside, 0); // the frame clips both lines
    }
};

int main(int argc, char *argv[])
{
    // The real window system, not the suite's offscreen default.
    if (!qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    LyricLineScreenTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_lyriclinescreen.moc"
