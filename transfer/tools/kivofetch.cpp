// kivofetch URL FILE: fetches one address into one file through the player's
// transfer object and prints how it ended. For checks against any server and for
// the kill trials; the exit status is 0 only when FILE is complete.
#include "transfer/download.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>

namespace {

QCoro::Task<> fetch(kivo::download &tg, QString url, QString file)
{
    tg.setURL(url);
    tg.setSaveFile(file);
    co_await tg.Execute();
    std::printf("Content-Length: %s\n", qPrintable(tg.GetHeader(QStringLiteral("Content-Length"))));
    std::fflush(stdout);
    const bool complete = co_await tg.StartDownLoad(1, 0, 0);
    std::printf("%s\n", qPrintable(kivo::describe(tg.result())));
    QCoreApplication::exit(complete ? 0 : 1);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: kivofetch URL FILE\n");
        return 2;
    }
    kivo::download tg(kivo::DownloadVariant::Player);
    const QString url = QString::fromLocal8Bit(argv[1]);
    const QString file = QString::fromLocal8Bit(argv[2]);
    QTimer::singleShot(0, &tg, [&] { fetch(tg, url, file); });
    return app.exec();
}
