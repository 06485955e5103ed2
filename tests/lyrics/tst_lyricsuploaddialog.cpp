#include "core/songrecord.h"
#include "lyrics/ui/lyricsuploaddialog.h"
#include "online/serverclient.h"
#include "skin/skinbutton.h"
#include "support/cannedhttpserver.h"

#include <QGroupBox>
#include <QNetworkAccessManager>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

using namespace kivo;
using kivo::test::CannedHttpServer;

class LyricsUploadDialogTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        server = std::make_unique<CannedHttpServer>();
        QVERIFY(server->start());
        client = std::make_unique<ServerClient>(&network, server->baseUrl());
        dialog = std::make_unique<LyricsUploadDialog>(client.get());
        messages.clear();
        dialog->setMessageSink(
            [this](QMessageBox::Icon icon, const QString &text) { messages << qMakePair(icon, text); });
    }

    void controls()
    {
        QCOMPARE(dialog->objectName(), u"Form9"_qs);
        QVERIFY(dialog->plainOption()->isChecked());
        QCOMPARE(dialog->plainOption()->text(), u"普通歌词"_qs);
        QCOMPARE(dialog->lrcOption()->text(), u"随时间显示的LRC歌词"_qs);
        QVERIFY(dialog->findChild<QWidget *>(u"Frame1"_qs));
        QVERIFY(dialog->findChild<SkinButton *>(u"Image1"_qs));
        QVERIFY(dialog->findChild<SkinButton *>(u"Image2"_qs));
    }

    // Under the main window (and its style sheet) the labels of the dialog read light on
    // its dark panel.
    void labelsReadLightOnTheDarkPanel()
    {
        QWidget owner;
        owner.setStyleSheet(u"QTreeView { color: #d6e6f2; }"_qs);
        LyricsUploadDialog shown(client.get(), &owner);
        shown.show();
        QVERIFY(QTest::qWaitForWindowExposed(&shown));
        for (QWidget *w : std::initializer_list<QWidget *> {
                 shown.findChild<QGroupBox *>(u"Frame1"_qs), shown.plainOption(), shown.lrcOption()})
            QVERIFY2(qGray(w->palette().color(QPalette::WindowText).rgb()) > 160, qPrintable(w->objectName()));
    }

    void addLyricsOpensOnlyForCatalogueSongs()
    {
        QVERIFY(!OpenLyricsUpload(dialog.get(), SongRecord::fromText(u"31|||/m/a.mp3|||t|||w|||0"_qs)));
        QVERIFY(!dialog->isVisible());
        QVERIFY(OpenLyricsUpload(dialog.get(), SongRecord::fromText(u"31|||u|||u1|||w|||2"_qs)));
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->musicId(), 31);
    }

    void press_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("lrc");
        QTest::addColumn<QByteArray>("answer"); // empty: the server does not know the page
        QTest::addColumn<int>("icon");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("cleared");
        QTest::addColumn<int>("requests");
        QTest::newRow("nothing typed") << u"  "_qs << false << QByteArray() << int(QMessageBox::Critical)
                                       << u"您没有添加歌词"_qs << false << 0;
        QTest::newRow("bad lrc") << u"words only"_qs << true << QByteArray() << int(QMessageBox::Critical)
                                 << u"对不起，您添加的LRC歌词格式不正确。"_qs << false << 0;
        QTest::newRow("thanked") << u"[00:01.00]a"_qs << true << QByteArray("添加成功") << int(QMessageBox::NoIcon)
                                 << u"感谢您上传歌词，谢谢您的支持。"_qs << true << 1;
        QTest::newRow("server refused") << u"plain words"_qs << false << QByteArray("error")
                                        << int(QMessageBox::Warning)
                                        << u"因网络或者是其它原因,未发送成功.请稍候再试."_qs << false << 1;
        QTest::newRow("no answer") << u"plain words"_qs << false << QByteArray() << int(QMessageBox::Warning)
                                   << u"因网络或者是其它原因,未发送成功.请稍候再试."_qs << false << 1;
    }
    void press()
    {
        QFETCH(QString, text);
        QFETCH(bool, lrc);
        QFETCH(QByteArray, answer);
        QFETCH(int, icon);
        QFETCH(QString, message);
        QFETCH(bool, cleared);
        QFETCH(int, requests);
        if (!answer.isEmpty())
            server->setAnswer(u"/kxrjgc.asp"_qs, {200, answer});
        QStringList busy;
        dialog->setBusyHandlers([&](const QString &t) { busy << t; }, [&] { busy << u"hide"_qs; });
        QVERIFY(OpenLyricsUpload(dialog.get(), SongRecord::fromText(u"8|||u|||u1|||w|||2"_qs)));
        dialog->textBox()->setPlainText(text);
        (lrc ? dialog->lrcOption() : dialog->plainOption())->setChecked(true);
        QSignalSpy finished(dialog.get(), &LyricsUploadDialog::uploadFinished);
        dialog->uploadButton()->click();
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 10000);
        QCOMPARE(messages.size(), 1);
        QCOMPARE(int(messages.first().first), icon);
        QCOMPARE(messages.first().second, message);
        QCOMPARE(dialog->textBox()->toPlainText().isEmpty(), cleared);
        QCOMPARE(dialog->isVisible(), !cleared);
        QCOMPARE(server->requests().size(), requests);
        QCOMPARE(busy.size(), requests * 2);
    }

    void noSongNoAction()
    {
        dialog->setMusicId(0);
        dialog->textBox()->setPlainText(u"[00:01.00]a"_qs);
        QSignalSpy finished(dialog.get(), &LyricsUploadDialog::uploadFinished);
        dialog->uploadButton()->click();
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 5000);
        QVERIFY(messages.isEmpty());
        QVERIFY(server->requests().isEmpty());
    }

private:
    QNetworkAccessManager network;
    std::unique_ptr<CannedHttpServer> server;
    std::unique_ptr<ServerClient> client;
    std::unique_ptr<LyricsUploadDialog> dialog;
    QList<QPair<QMessageBox::Icon, QString>> messages;
};

QTEST_MAIN(LyricsUploadDialogTest)
#include "tst_lyricsuploaddialog.moc"
