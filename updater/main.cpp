// The update program: fetches the newest player from the update server and
// writes it over kivoplay in its own folder. It reads only kivoplay.ini beside
// itself. The transfer is not wired yet: the window shows and waits.
#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QString dir = QCoreApplication::applicationDirPath();
    QSettings ini(dir + u"/kivoplay.ini"_qs, QSettings::IniFormat);
    const QString address = ini.value(u"install/UpdateServerUrl"_qs).toString() + u"/download/code/kivoplay.exe"_qs;

    QWidget window;
    window.setObjectName(u"Form1"_qs);
    window.setWindowTitle(u"更新程序"_qs);
    auto *label = new QLabel(u"正在连接服务器，请稍候。"_qs);
    label->setObjectName(u"Label1"_qs);
    label->setTextFormat(Qt::PlainText);
    auto *bar = new QProgressBar;
    bar->setObjectName(u"ProgressBar1"_qs);
    bar->setRange(0, 100);
    bar->setAccessibleName(u"更新进度"_qs);
    auto *stop = new QPushButton(u"停止更新"_qs);
    stop->setObjectName(u"Command1"_qs);
    stop->setEnabled(false);
    auto *restart = new QPushButton(u"重新开始下载"_qs);
    restart->setObjectName(u"Command2"_qs);
    restart->setEnabled(false);
    auto *layout = new QVBoxLayout(&window);
    layout->addWidget(label);
    layout->addWidget(bar);
    layout->addWidget(stop);
    layout->addWidget(restart);
    window.setProperty("address", address);
    window.show();
    return app.exec();
}
