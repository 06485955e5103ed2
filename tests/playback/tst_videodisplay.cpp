#include "playback/ui/videodisplay.h"
#include "support/fakemediaengine.h"

#include <QTest>

using namespace kivo;

// An engine that hands out a plain widget as its video surface.
class SurfaceEngine : public FakeMediaEngine
{
public:
    QWidget *createVideoSurface(QWidget *parent) override { return new QWidget(parent); }
};

class VideoDisplayTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void clickTogglesEscapeLeaves_data();
    void clickTogglesEscapeLeaves();
};

void VideoDisplayTest::clickTogglesEscapeLeaves_data()
{
    QTest::addColumn<bool>("withSurface");
    QTest::newRow("engine with a surface") << true;
    QTest::newRow("engine without video") << false;
}

void VideoDisplayTest::clickTogglesEscapeLeaves()
{
    QFETCH(bool, withSurface);
    std::unique_ptr<FakeMediaEngine> engine(withSurface ? new SurfaceEngine : new FakeMediaEngine);
    QWidget window;
    auto *display = new VideoDisplay(engine.get(), &window);
    window.resize(320, 240);
    display->resize(320, 240);
    window.show();
    QCOMPARE(display->surface() != nullptr, withSurface);
    QWidget *target = withSurface ? display->surface() : display;

    QTest::mouseClick(target, Qt::LeftButton);
    QVERIFY(engine->isFullScreen());
    QVERIFY(display->fullScreenWindow());
    QVERIFY(display->fullScreenWindow()->isVisible());
    if (withSurface)
        QCOMPARE(display->surface()->window(), display->fullScreenWindow());

    QTest::keyClick(display->fullScreenWindow(), Qt::Key_Escape);
    QVERIFY(!engine->isFullScreen());
    QVERIFY(!display->fullScreenWindow()->isVisible());
    if (withSurface)
        QCOMPARE(display->surface()->parentWidget(), display);

    // The player switches full screen off itself when a new address opens.
    QTest::mouseClick(target, Qt::LeftButton);
    QVERIFY(display->fullScreenWindow()->isVisible());
    engine->setFullScreen(false);
    QVERIFY(!display->fullScreenWindow()->isVisible());
    // A right click does not toggle.
    QTest::mouseClick(target, Qt::RightButton);
    QVERIFY(!engine->isFullScreen());
}

QTEST_MAIN(VideoDisplayTest)
#include "tst_videodisplay.moc"
