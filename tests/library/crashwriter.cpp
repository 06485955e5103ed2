// A program that writes to the library until it is killed:
//   crashwriter write <kx.dat> <seed>  writes the way the player does: history records,
//                                      new playlists, songs added to them, deleted
//                                      playlists and days;
//   crashwriter make <folder>          makes new libraries <folder>/1/kx.dat, 2/kx.dat, ...
// Around every write it prints "w" before and "d" after, straight to the pipe, so that
// whoever kills it can tell whether a write was under way. It ends by itself only
// when a write fails.

#include "library/librarydatabase.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QStringList>

#include <cstdio>
#include <unistd.h>

using namespace kivo;

namespace {

void mark(char c)
{
    if (::write(STDOUT_FILENO, &c, 1) != 1)
        std::_Exit(4);
}

SongToStore songNumber(quint64 n, QRandomGenerator &random)
{
    SongToStore song;
    song.title = QStringLiteral("歌曲 %1").arg(n % 500);
    song.locator = n % 2 ? QStringLiteral("http://127.0.0.1:8731/media/%1.mp3").arg(n)
                         : QStringLiteral("/home/user/音乐/%1.mp3").arg(n);
    song.url2 = song.title;
    song.kind = int(random.bounded(4));
    song.id = int(n % 100000);
    return song;
}

int failed(const char *what)
{
    std::fprintf(stderr, "crashwriter: %s failed\n", what);
    return 3;
}

int makeLibraries(const QString &folder)
{
    for (quint64 n = 1;; ++n) {
        mark('w');
        if (LibraryDatabase::create(QStringLiteral("%1/%2/kx.dat").arg(folder).arg(n)).status
            != LibraryCreateOutcome::Status::Created)
            return failed("create");
        mark('d');
    }
}

int writeLikeThePlayer(const QString &path, quint32 seed)
{
    LibraryDatabase db;
    if (!db.open(path).ok())
        return failed("open");
    QRandomGenerator random(seed);
    QList<int> playlists;
    for (const PlaylistRow &p : db.playlists())
        playlists.append(p.id);
    const QDate firstDay(2007, 3, 9);

    for (quint64 n = 0;; ++n) {
        mark('w');
        const quint32 op = random.bounded(20);
        if (op < 10) {
            if (!db.recordPlay(songNumber(n, random), firstDay.addDays(random.bounded(20))).ok)
                return failed("recordPlay");
        } else if (op < 12 || playlists.isEmpty()) {
            const InsertOutcome added = db.addPlaylist(QStringLiteral("列表 %1").arg(n));
            if (!added.added())
                return failed("addPlaylist");
            playlists.append(added.id);
        } else if (op < 18) {
            const int playlist = playlists.at(random.bounded(int(playlists.size())));
            if (db.addSongToPlaylist(playlist, songNumber(n, random)).kind == InsertOutcome::Kind::Failed)
                return failed("addSongToPlaylist");
        } else if (op < 19) {
            if (!db.deletePlaylist(playlists.takeAt(random.bounded(int(playlists.size())))))
                return failed("deletePlaylist");
        } else {
            const QList<HistoryDayRow> days = db.historyDays();
            if (!days.isEmpty() && !db.deleteHistoryDay(days.at(random.bounded(int(days.size()))).id))
                return failed("deleteHistoryDay");
        }
        mark('d');
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args.at(1) == u"write")
        return writeLikeThePlayer(args.at(2), args.at(3).toUInt());
    if (args.size() == 3 && args.at(1) == u"make")
        return makeLibraries(args.at(2));
    std::fprintf(stderr, "usage: crashwriter write <kx.dat> <seed> | crashwriter make <folder>\n");
    return 2;
}
