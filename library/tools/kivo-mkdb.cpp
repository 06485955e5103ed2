// kivo-mkdb <path>: makes an empty library file (and its folder) when it is
// missing; an existing file is left alone.
#include "library/librarydatabase.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: kivo-mkdb <path>\n");
        return 2;
    }
    const kivo::LibraryCreateOutcome outcome = kivo::LibraryDatabase::create(args.at(1));
    if (outcome.status == kivo::LibraryCreateOutcome::Status::Failed) {
        std::fprintf(stderr, "kivo-mkdb: %s: %s\n", qPrintable(args.at(1)), qPrintable(outcome.error));
        return 1;
    }
    return 0;
}
