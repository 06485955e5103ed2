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

    // An item whose name differs from its caption keeps both; separators sit where
    // the menu's groups change.
    void namesAndCaptions()
    {
        CommandMenus menus;
        QCOMPARE(menus.lists.appendList->objectName(), u"添加到正在播放1"_qs);
        QCOMPARE(menus.lists.appendList->text(), u"添加到正在播放"_qs);
        QCOMPARE(menus.tray.exit->text(), u"退  出"_qs);
        const QList<QAction *> tray = menus.tray.menu->actions();
        QCOMPARE(tray.size(), 7);
        QVERIFY(tray.at(5)->isSeparator());
        QCOMPARE(tray.at(5)->objectName(), u"a134"_qs);
    }
};

QTEST_MAIN(TestCommandMenus)
#include "tst_commandmenus.moc"
