#include "shell/ui/commandmenus.h"

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
    void menuTree_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QStringList>("items"); // name=caption, name alone when they are equal
        QTest::newRow("歌曲列表") << u"歌曲列表"_qs
                                  << QStringList {u"重新调入播放"_qs, u"a1=-"_qs, u"打开本地歌曲"_qs,
                                         u"添加到正在播放"_qs, u"添加到播放列表"_qs, u"从列表中删除"_qs,
                                         u"修改歌曲名称"_qs, u"A2=-"_qs, u"查看歌词"_qs, u"添加歌词"_qs, u"A3=-"_qs,
                                         u"下载此歌曲"_qs, u"给好友点歌"_qs, u"下载铃声"_qs};
        QTest::newRow("我的媒体库") << u"我的媒体库"_qs
                                    << QStringList {u"清空"_qs, u"A5=-"_qs, u"不循环"_qs, u"单曲循环"_qs,
                                           u"顺序播放"_qs, u"随机播放"_qs, u"A6=-"_qs, u"另存为列表"_qs,
                                           u"保存到现有"_qs, u"ab13=-"_qs, u"打开本地歌曲1=打开本地歌曲"_qs};
        QTest::newRow("我的媒体库1") << u"我的媒体库1"_qs
                                     << QStringList {u"添加列表"_qs, u"修改列表"_qs, u"删除列表"_qs, u"A12=-"_qs,
                                            u"播放此列表"_qs, u"添加到正在播放1=添加到正在播放"_qs};
        QTest::newRow("下载管理") << u"下载管理"_qs
                                  << QStringList {u"开始下载"_qs, u"A18=-"_qs, u"清空所有"_qs, u"删除记录"_qs,
                                         u"A19=-"_qs, u"下载设置"_qs};
        QTest::newRow("歌手") << u"歌手"_qs
                              << QStringList {u"加入CD架"_qs, u"购买此CD"_qs, u"查看简介"_qs, u"相关新闻"_qs};
        QTest::newRow("CD架") << u"CD架"_qs << QStringList {u"购买"_qs, u"A334=-"_qs, u"删除"_qs};
        QTest::newRow("右键菜单") << u"右键菜单"_qs
                                  << QStringList {u"播放=播  放"_qs, u"暂停=暂  停"_qs, u"停止=停  止"_qs, u"上一首"_qs,
                                         u"下一首"_qs, u"a134=-"_qs, u"退出=退  出"_qs};
    }
    void menuTree()
    {
        QFETCH(QString, menu);
        QFETCH(QStringList, items);
        CommandMenus menus;
        QMenu *m = menus.menu(menu);
        QVERIFY(m);
        QCOMPARE(m->objectName(), menu);
        QStringList got;
        for (QAction *a : m->actions()) {
            const QString caption = a->isSeparator() ? u"-"_qs : a->text();
            got << (caption == a->objectName() ? a->objectName() : a->objectName() + u"="_qs + caption);
            QCOMPARE(menus.item(a->objectName()), a);
        }
        QCOMPARE(got, items);
    }

    void playModesStartOnNoRepeat()
    {
        CommandMenus menus;
        QCOMPARE(menus.menuNames().size(), 7);
        QVERIFY(menus.item(u"不循环"_qs)->isChecked());
        menus.item(u"随机播放"_qs)->trigger();
        QVERIFY(menus.item(u"随机播放"_qs)->isChecked());
        QVERIFY(!menus.item(u"不循环"_qs)->isChecked());
        QVERIFY(!menus.item(u"清空"_qs)->isCheckable());
    }
};

QTEST_MAIN(TestCommandMenus)
#include "tst_commandmenus.moc"
