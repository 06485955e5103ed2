#include "lyrics/lyricscontroller.h"
#include "lyrics/ui/lyriclinewidget.h"
#include "shell/ui/miniplayer.h"
#include "skin/knob.h"
#include "skin/knobbinding.h"
#include "skin/knobs.h"
#include "skin/skinbutton.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

using namespace kivo;

namespace {

void sendMouse(QWidget *target, QEvent::Type type, QPoint at, Qt::MouseButtons held = Qt::LeftButton)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(at), target->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// A press at x 3, moves by each of `dx` pixels (in the knob's own coordinates, as
// it moves under the mouse), a release.
void dragKnob(Knob *knob, const QList<int> &dx)
{
    sendMouse(knob, QEvent::MouseButtonPress, {3, 3});
    for (int d : dx)
        sendMouse(knob, QEvent::MouseMove, {3 + d, 3});
    sendMouse(knob, QEvent::MouseButtonRelease, {3, 3}, Qt::NoButton);
}

} // namespace

class MiniPlayerTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        clock = {true, 65, 200};
        lyrics = std::make_unique<LyricsController>();
        lyrics->setClock([this] { return clock; });
        mini = std::make_unique<MiniPlayer>(lyrics.get());
    }

    // A frameless bar of 6750 × 1155 twips; every control a user can act on has a name.
    void windowAndControls()
    {
        QCOMPARE(mini->size(), QSize(450, 77));
        QVERIFY(mini->windowFlags() & Qt::FramelessWindowHint);
        for (const SkinButton *button : mini->findChildren<SkinButton *>())
            QVERIFY2(!button->accessibleName().isEmpty(), qPrintable(button->objectName()));
        for (const Knob *knob : mini->findChildren<Knob *>())
            QVERIFY2(!knob->accessibleName().isEmpty(), qPrintable(knob->objectName()));
    }

    void backToMainWindowAndToTray()
    {
        QSignalSpy main(mini.get(), &MiniPlayer::mainWindowRequested);
        QSignalSpy commands(mini.get(), &MiniPlayer::commandRequested);
        mini->show();
        mini->backButton()->click();
        QVERIFY(!mini->isVisible());
        QCOMPARE(main.size(), 1);
        mini->show();
        mini->button(PlayerCommand::HideToTray)->click();
        QVERIFY(!mini->isVisible());
        QCOMPARE(commands.size(), 1);
        QCOMPARE(commands.first().first().value<PlayerCommand>(), PlayerCommand::HideToTray);
    }

    void playButtonShowsOtherImageAtOnce()
    {
        SkinButton *play = mini->button(PlayerCommand::PlayPause);
        mini->setPlayButtonState(0);
        play->click();
        QCOMPARE(mini->playButtonState(), 2);
        mini->setPlayButtonState(3);
        play->click();
        QCOMPARE(mini->playButtonState(), 1);
    }

    void oneReadoutModeForBothWindows()
    {
        auto *readout = mini->findChild<QLabel *>(u"Label1"_qs);
        lyrics->tick();
        QCOMPARE(readout->text(), u"01:05"_qs);
        sendMouse(readout, QEvent::MouseButtonPress, {2, 2});
        QVERIFY(lyrics->remainingTimeMode());
        lyrics->tick();
        QCOMPARE(readout->text(), u"02:15"_qs);
        lyrics->flipReadoutMode(); // the main window's readout
        lyrics->tick();
        QCOMPARE(readout->text(), u"01:05"_qs);
    }

    void positionKnobFollowsPlayAndSeeks()
    {
        clock = {true, 100, 200};
        lyrics->tick();
        QCOMPARE(mini->positionKnob()->leftTwips(), 3480 + 1420);
        QSignalSpy seek(mini.get(), &MiniPlayer::seekRequested);
        dragKnob(mini->positionKnob(), {-20});
        QCOMPARE(mini->positionKnob()->leftTwips(), 4900 - 300);
        QCOMPARE(seek.size(), 1);
        QCOMPARE(seek.first().first().toDouble(), (4600.0 - 3480) / 2840 * 200);
        clock = {true, 0, 0}; // nothing loaded: the knob moves, nothing seeks
        dragKnob(mini->positionKnob(), {-20});
        QCOMPARE(seek.size(), 1);
    }

    void volumeKnobAndHovering()
    {
        QSignalSpy volume(mini.get(), &MiniPlayer::volumeChanged);
        Knob *knob = mini->volumeKnob();
        QCOMPARE(knob->leftTwips(), 3180);
        sendMouse(knob, QEvent::MouseMove, {-10, 3}, Qt::NoButton); // hovering
        QCOMPARE(knob->leftTwips(), 3180);
        dragKnob(knob, {-18});
        QCOMPARE(knob->leftTwips(), 3180 - 270);
        QCOMPARE(volume.last().first().toInt(), 50);
        dragKnob(knob, {-40}); // past the left end: at the end, silent
        QCOMPARE(knob->leftTwips(), 2640);
        QCOMPARE(volume.last().first().toInt(), 0);
    }

    void lyricOffsetKnob()
    {
        Knob *bc = mini->offsetKnob();
        QVERIFY(!bc->isVisibleTo(mini.get()));
        // The groove shows and goes with its knob, right of it where the knob is not.
        const QRectF groove = Knob::grooveRect(LyricOffsetKnob::kMini.track, {10, 6}, 46);
        const QPoint inGroove(int(groove.right()) - 4, int(groove.center().y()));
        const QRgb without = mini->grab().toImage().pixel(inGroove);
        // So does the line's mark of it, at its bottom left.
        const QPoint mark = mini->lyricLine()->geometry().bottomLeft() + QPoint(4, -2);
        const QRgb unmarked = mini->grab().toImage().pixel(mark);
        sendMouse(mini->lyricLine(), QEvent::MouseButtonPress, {5, 5}); // the toggle
        QVERIFY(bc->isVisibleTo(mini.get()));
        QVERIFY(mini->grab().toImage().pixel(inGroove) != without);
        QVERIFY(mini->grab().toImage().pixel(mark) != unmarked);
        QCOMPARE(bc->leftTwips(), 998);
        dragKnob(bc, {15}); // 225 twips: one step
        QCOMPARE(bc->leftTwips(), 998 + 220);
        QCOMPARE(lyrics->lyricsOffsetTenths(), 1.0f);
        dragKnob(bc, {10}); // 150 twips: no step, but the release adds again
        QCOMPARE(lyrics->lyricsOffsetTenths(), 2.0f);
        sendMouse(mini->lyricLine(), QEvent::MouseButtonPress, {5, 5});
        QCOMPARE(mini->grab().toImage().pixel(inGroove), without);
        QCOMPARE(mini->grab().toImage().pixel(mark), unmarked);
        sendMouse(mini->lyricLine(), QEvent::MouseButtonPress, {5, 5});
        QCOMPARE(bc->leftTwips(), 998);
        QCOMPARE(lyrics->lyricsOffsetTenths(), 2.0f); // the toggle leaves the offset
        dragKnob(bc, {-15});
        sendMouse(bc, QEvent::MouseButtonDblClick, {3, 3});
        QCOMPARE(bc->leftTwips(), 998);
        QCOMPARE(lyrics->lyricsOffsetTenths(), 0.0f);
    }

    void lyricLineShowsTheMiniLabels()
    {
        QVERIFY(lyrics->setCurrentLyrics(
            u"[01:05.00]mini line<br>[01:09.00]x<br>[01:10.00]y"_qs, lyrics->clearCurrentLyrics()));
        lyrics->tick();
        QCOMPARE(mini->findChild<QLabel *>(u"Label2"_qs)->text(), u"mini line"_qs);
        QCOMPARE(mini->findChild<QLabel *>(u"Label4"_qs)->text(), u"mini line"_qs);
        QVERIFY(lyrics->screen().mini.baseWidth > 0); // measured by the mini player's font
    }

private:
    PlaybackClock clock;
    std::unique_ptr<LyricsController> lyrics;
    std::unique_ptr<MiniPlayer> mini;
};

QTEST_MAIN(MiniPlayerTest)
#include "tst_miniplayer.moc"
