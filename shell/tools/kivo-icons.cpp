// kivo-icons <folder> <size>…: renders the player's window icon as
// <folder>/<size>x<size>/apps/kivoplay.png for the desktop's icon theme.
#include "shell/ui/appicon.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: kivo-icons <folder> <size>...\n");
        return 2;
    }
    for (const QString &arg : args.mid(2)) {
        const int size = arg.toInt();
        const QString dir = args.at(1) + QStringLiteral("/%1x%1/apps").arg(size);
        if (size <= 0 || !QDir().mkpath(dir) || !kivo::drawAppIcon(size).save(dir + QStringLiteral("/kivoplay.png"))) {
            std::fprintf(stderr, "kivo-icons: cannot write %s\n", qPrintable(dir + QStringLiteral("/kivoplay.png")));
            return 1;
        }
    }
    return 0;
}
