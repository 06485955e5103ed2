#include "skin/commandmenus.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QMenu>
#include <QTest>

using namespace kivo;

class TestCommandMenus : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // The four play modes are one exclusive group with "不循环" checked at start.
    void playModesStartOnNoRepeat()
    {
        CommandMenus menus;
        const NowPlayingMenu &playing = menus.nowPlaying;
        QVERIFY(playing.noRepeat->isChecked());
        playing.shuffle->trigger();
        QVERIFY(playing.shuffle->isChecked());
        QVERIFY(!playing.noRepeat->isChecked());
        QVERIFY(!playing.clear->isCheckable());
    }
};

QTEST_MAIN(TestCommandMenus)
#include "tst_commandmenus.moc"
