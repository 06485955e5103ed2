#include "demo/demosite.h"

#include "core/pageformats.h"

#include <QDate>
#include <QRegularExpression>
#include <QUrl>

#include <algorithm>

namespace kivo::demo {

namespace {

constexpr int kSearchIdBase = 3000; // ids of the search service's songs

QString mediaUrl(const QString &host, const QString &mediaPath)
{
    return QStringLiteral("http://") + host + QStringLiteral("/media/") + mediaPath;
}

QList<const DemoSong *> sortedBy(QList<const DemoSong *> songs, bool newestFirst)
{
    std::stable_sort(songs.begin(), songs.end(), [&](const DemoSong *a, const DemoSong *b) {
        return newestFirst ? a->added > b->added : a->popularity > b->popularity;
    });
    return songs;
}

} // namespace

Query Query::parse(const QByteArray &rawQuery)
{
    Query q;
    for (const QByteArray &part : rawQuery.split('&')) {
        if (part.isEmpty())
            continue;
        const qsizetype eq = part.indexOf('=');
        const QByteArray key = eq < 0 ? part : part.left(eq);
        const QByteArray value = eq < 0 ? QByteArray() : part.mid(eq + 1);
        q.items.append({QUrl::fromPercentEncoding(key), QUrl::fromPercentEncoding(value)});
    }
    return q;
}

QString Query::value(const QString &key) const
{
    for (const auto &item : items)
        if (item.first.compare(key, Qt::CaseInsensitive) == 0)
            return item.second;
    return {};
}

bool Query::has(const QString &key) const
{
    for (const auto &item : items)
        if (item.first.compare(key, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

int Query::number(const QString &key, int fallback) const
{
    bool ok = false;
    const int v = value(key).trimmed().toInt(&ok);
    return ok ? v : fallback;
}

DemoSite::DemoSite(const DemoCatalogue &catalogue, DemoState &state)
    : m_catalogue(catalogue)
    , m_state(state)
{ }

QStringList DemoSite::songRecord(const DemoSong &song, int kind, const QString &host) const
{
    const QString artist = artistName(m_catalogue, song.artistId);
    const QString url = song.directLocator ? mediaUrl(host, song.mediaPath) : QString();
    if (kind == 3) // the search service's songs: found again by "title+artist"
        return ListRecords::song(3, song.title, song.added, song.popularity,
            QString::number(kSearchIdBase + song.id - 1000), url, artist, song.title + u'+' + artist);
    // Catalogue songs: the player searches with url2 + "+" + url1.
    return ListRecords::song(
        kind, song.title, song.added, song.popularity, QString::number(song.id), url, artist, song.title);
}

QString DemoSite::songRecords(QList<const DemoSong *> songs, int kind, int page, const QString &host) const
{
    const int total = int(songs.size());
    const int pageCount = std::max(1, (total + kSongsPerPage - 1) / kSongsPerPage);
    page = std::clamp(page, 1, pageCount);
    QList<QStringList> records {ListRecords::summary(total, pageCount, page)};
    for (int i = (page - 1) * kSongsPerPage; i < std::min(total, page * kSongsPerPage); ++i)
        records.append(songRecord(*songs.at(i), kind, host));
    return joinListPayload(records);
}

QString DemoSite::categoryRecords(const QList<QStringList> &records, const Query &q) const
{
    const int total = int(records.size());
    const int pageCount = std::max(1, (total + kNodesPerPage - 1) / kNodesPerPage);
    const int page = std::clamp(q.number(QStringLiteral("page"), 1), 1, pageCount);
    QList<QStringList> out;
    if (pageCount > 1)
        out.append(ListRecords::treePaging(pageCount, page));
    out.append(records.mid((page - 1) * kNodesPerPage, kNodesPerPage));
    return joinListPayload(out);
}

QStringList DemoSite::artistCategory(int artistId, bool video) const
{
    const DemoArtist *a = m_catalogue.artist(artistId);
    if (video)
        return ListRecords::category(1, a->name, int(m_catalogue.videosOfArtist(artistId).size()),
            QString::number(artistId), QStringLiteral("urlkxrj_3.asp?id=%1&classid=1").arg(artistId));
    return ListRecords::category(0, a->name, int(m_catalogue.albumsOfArtist(artistId).size()),
        QString::number(artistId), QStringLiteral("urlkxrj_3.asp?id=%1").arg(artistId));
}

QStringList DemoSite::albumCategory(int albumId) const
{
    const DemoAlbum *a = m_catalogue.album(albumId);
    return ListRecords::category(1, a->title, int(m_catalogue.songsOfAlbum(albumId).size()), QString::number(albumId),
        QStringLiteral("urlkxrj_4.asp?id=%1").arg(albumId));
}

QString DemoSite::siteChart(const Query &q, const QString &host) const
{
    const int mlid = q.number(QStringLiteral("mlid"), 0);
    const bool video = q.value(QStringLiteral("classid")).trimmed() == u"1";
    const int page = q.number(QStringLiteral("page"), 1);
    QList<const DemoSong *> all;
    for (const DemoSong &s : video ? m_catalogue.videos() : m_catalogue.songs())
        all.append(&s);

    QList<int> artistIds;
    for (const DemoArtist &a : m_catalogue.artists())
        if (!video || !m_catalogue.videosOfArtist(a.id).isEmpty())
            artistIds.append(a.id);
    QList<QStringList> records;
    switch (mlid) {
    case 1:
        return songRecords(sortedBy(all, true), 2, page, host);
    case 2:
        return songRecords(sortedBy(all, false), 2, page, host);
    case 3: // newcomers: the newest artists first
        std::reverse(artistIds.begin(), artistIds.end());
        for (int id : std::as_const(artistIds))
            records.append(artistCategory(id, video));
        return categoryRecords(records, q);
    case 4:
        std::stable_sort(artistIds.begin(), artistIds.end(),
            [&](int a, int b) { return m_catalogue.artist(a)->popularity > m_catalogue.artist(b)->popularity; });
        for (int id : std::as_const(artistIds))
            records.append(artistCategory(id, video));
        return categoryRecords(records, q);
    case 5:
    case 6: {
        if (video) {
            records.append(ListRecords::category(1, QStringLiteral("乐队MTV合辑"), 2, QStringLiteral("71"),
                QStringLiteral("urlkxrj_2.asp?id=71&classid=1")));
            records.append(ListRecords::category(1, QStringLiteral("组合MTV合辑"), 1, QStringLiteral("72"),
                QStringLiteral("urlkxrj_2.asp?id=72&classid=1")));
            return categoryRecords(records, q);
        }
        QList<const DemoAlbum *> albums;
        for (const DemoAlbum &a : m_catalogue.albums())
            albums.append(&a);
        std::stable_sort(albums.begin(), albums.end(), [&](const DemoAlbum *a, const DemoAlbum *b) {
            return mlid == 5 ? a->released > b->released : a->popularity > b->popularity;
        });
        for (const DemoAlbum *a : std::as_const(albums))
            records.append(albumCategory(a->id));
        return categoryRecords(records, q);
    }
    default:
        return {};
    }
}

QString DemoSite::mp3Chart(const Query &q, const QString &host) const
{
    const int bdid = q.number(QStringLiteral("bdid"), 0);
    const int page = q.number(QStringLiteral("page"), 1);
    if (bdid == 3) {
        if (q.has(QStringLiteral("singer")))
            return songRecords(m_catalogue.songsOfArtist(q.number(QStringLiteral("singer"), 0)), 3, page, host);
        QList<QStringList> records;
        for (const DemoArtist &a : m_catalogue.artists())
            records.append(ListRecords::category(1, a.name, int(m_catalogue.songsOfArtist(a.id).size()),
                QString::number(a.id), QStringLiteral("kxrjbaidu.asp?bdid=3&singer=%1").arg(a.id)));
        return categoryRecords(records, q);
    }
    // Which songs each chart holds: a simple rule per chart.
    auto pick = [&](auto keep) {
        QList<const DemoSong *> out;
        for (const DemoSong &s : m_catalogue.songs())
            if (keep(s))
                out.append(&s);
        return out;
    };
    QList<const DemoSong *> songs;
    switch (bdid) {
    case 1:
        songs = sortedBy(pick([](const DemoSong &) { return true; }), true);
        break;
    case 2:
        songs = sortedBy(pick([](const DemoSong &) { return true; }), false);
        break;
    case 4:
        songs = pick([](const DemoSong &s) { return s.number % 4 == 0; });
        break;
    case 5:
        songs = pick([](const DemoSong &s) { return s.number % 4 == 1; });
        break;
    case 6:
        songs = pick([](const DemoSong &s) { return s.number % 3 == 1; });
        break;
    case 8:
        songs = pick([](const DemoSong &s) { return s.number % 6 == 2; });
        break;
    case 9:
        songs = pick([](const DemoSong &s) { return s.number % 5 == 3; });
        break;
    case 10:
        songs = pick([](const DemoSong &s) { return s.artistId >= 113; });
        break;
    case 11:
        songs = pick([](const DemoSong &s) { return s.number % 4 == 2; });
        break;
    default:
        return {};
    }
    return songRecords(songs, 3, page, host);
}

// Category records: kind 0 opens into the tree, kind 1 is a song list (kind 2 and
// above would read as a song row). Levels of the libraries: 0 top categories, 1 sub-categories, 2 artists,
// 3 albums of an artist, 4 songs of an album. With classid=1 the video library.
QString DemoSite::libraryLevel(int level, const Query &q, const QString &host) const
{
    const int id = q.number(QStringLiteral("id"), 0);
    const bool video = q.value(QStringLiteral("classid")).trimmed() == u"1";
    const int page = q.number(QStringLiteral("page"), 1);
    QList<QStringList> records;
    if (video) {
        QList<const DemoSong *> videos;
        for (const DemoSong &v : m_catalogue.videos())
            videos.append(&v);
        auto byArtists = [&](QList<int> ids) {
            QList<const DemoSong *> out;
            for (const DemoSong *v : std::as_const(videos))
                if (ids.contains(v->artistId))
                    out.append(v);
            return out;
        };
        switch (level) {
        case 0:
            records.append(ListRecords::category(
                0, QStringLiteral("华语MTV"), 2, QStringLiteral("7"), QStringLiteral("urlkxrj_1.asp?id=7&classid=1")));
            records.append(ListRecords::category(1, QStringLiteral("全部MTV"), int(videos.size()), QStringLiteral("70"),
                QStringLiteral("urlkxrj_2.asp?id=70&classid=1")));
            return categoryRecords(records, q);
        case 1:
            records.append(ListRecords::category(1, QStringLiteral("乐队MTV"), 2, QStringLiteral("71"),
                QStringLiteral("urlkxrj_2.asp?id=71&classid=1")));
            records.append(ListRecords::category(1, QStringLiteral("组合MTV"), 1, QStringLiteral("72"),
                QStringLiteral("urlkxrj_2.asp?id=72&classid=1")));
            return categoryRecords(records, q);
        case 2:
            if (id == 71)
                return songRecords(byArtists({109, 110}), 2, page, host);
            if (id == 72)
                return songRecords(byArtists({111, 112}), 2, page, host);
            return songRecords(videos, 2, page, host);
        case 3:
            return songRecords(m_catalogue.videosOfArtist(id), 2, page, host);
        default:
            return {};
        }
    }
    switch (level) {
    case 0:
        for (const DemoCategory &c : m_catalogue.topCategories())
            records.append(ListRecords::category(0, c.caption, int(c.children.size()), QString::number(c.id),
                QStringLiteral("urlkxrj_1.asp?id=%1").arg(c.id)));
        return categoryRecords(records, q);
    case 1:
    case 2: {
        const DemoCategory *c = m_catalogue.category(id);
        if (!c || c->holdsArtists != (level == 2))
            return {};
        for (int child : c->children) {
            if (level == 2) {
                records.append(artistCategory(child, false));
            } else {
                const DemoCategory *sub = m_catalogue.category(child);
                records.append(ListRecords::category(0, sub->caption, int(sub->children.size()),
                    QString::number(sub->id), QStringLiteral("urlkxrj_2.asp?id=%1").arg(sub->id)));
            }
        }
        return categoryRecords(records, q);
    }
    case 3:
        for (const DemoAlbum *a : m_catalogue.albumsOfArtist(id))
            records.append(albumCategory(a->id));
        return categoryRecords(records, q);
    case 4:
        if (!m_catalogue.album(id))
            return {};
        return songRecords(m_catalogue.songsOfAlbum(id), 2, page, host);
    default:
        return {};
    }
}

QString DemoSite::newsCategories() const
{
    return joinListPayload({
        ListRecords::category(1, QStringLiteral("明星动态"), 3, QStringLiteral("1"), QStringLiteral("news/c1.htm")),
        ListRecords::category(1, QStringLiteral("新歌速递"), 2, QStringLiteral("2"), QStringLiteral("news/c2.htm")),
        ListRecords::category(1, QStringLiteral("演出预告"), 1, QStringLiteral("3"), QStringLiteral("news/c3.htm")),
    });
}

QString DemoSite::siteSearch(const Query &q, const QString &host) const
{
    return songRecords(m_catalogue.searchSite(q.value(QStringLiteral("word1")), q.value(QStringLiteral("word2"))), 2,
        q.number(QStringLiteral("page"), 1), host);
}

QString DemoSite::networkSearch(const Query &q) const
{
    const QStringList words = q.value(QStringLiteral("word")).split(QRegularExpression(QStringLiteral("[+ ]")));
    // Network results carry no address: the player finds one through the search page.
    return songRecords(m_catalogue.search(words, false), 3, q.number(QStringLiteral("page"), 1), QString());
}

QString DemoSite::candidates(const Query &q, const QString &host) const
{
    const QString word = q.value(QStringLiteral("word"));
    const DemoSong *song = m_catalogue.songForSearchText(word, q.value(QStringLiteral("word1")));
    // A first item that is never an address, then every address followed by "<br>".
    QString out = QStringLiteral("Kivo搜索结果：") + word + kLineBreak;
    if (!song)
        return out;
    const QString name = song->mediaPath.section(u'/', -1);
    const QStringList dead = {
        mediaUrl(host, QStringLiteral("missing/") + name), // 404
        QStringLiteral("http://127.0.0.1:%1/media/%2").arg(m_silentPort).arg(name), // never answers
        mediaUrl(host, QStringLiteral("notaudio/") + name), // a web page
    };
    const int deadCount = song->onlyDeadCandidates ? 3 : song->deadCandidates;
    for (int i = 0; i < deadCount; ++i)
        out += dead.at(i) + kLineBreak;
    if (!song->onlyDeadCandidates) {
        out += mediaUrl(host, song->mediaPath) + kLineBreak;
        out += mediaUrl(host, song->mediaPath) + QStringLiteral("?mirror=2") + kLineBreak;
    }
    return out;
}

QString DemoSite::lyrics(const Query &q) const
{
    const DemoSong *song = m_catalogue.songById(q.number(QStringLiteral("id"), 0));
    if (!song)
        return {};
    return m_catalogue.lyricLines(*song).join(kLineBreak);
}

QString DemoSite::notice(const QString &host) const
{
    const NoticeFields n = m_state.notice();
    const QString today = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
    QStringList fields = {n.noticeLine, n.announcement, n.link, n.queueLimit, n.dailyLimit, n.date, n.version};
    for (QString &f : fields)
        f.replace(QStringLiteral("{host}"), host).replace(QStringLiteral("{today}"), today);
    return buildNoticePayload(fields.mid(0, n.fieldCount));
}

QString DemoSite::dedication(const Query &q) const
{
    m_state.recordDedication(q.items); // tests read what the player sent
    const QString mail = q.value(QStringLiteral("toemail")).trimmed();
    const bool ok = mail.contains(u'@') && mail.contains(u'.') && !q.value(QStringLiteral("name")).trimmed().isEmpty()
        && !q.value(QStringLiteral("content")).trimmed().isEmpty();
    // The player compares the whole answer with "成功".
    return ok ? QStringLiteral("成功") : QStringLiteral("失败");
}

QString DemoSite::lyricsUpload(const Query &q) const
{
    const bool ok = m_catalogue.songById(q.number(QStringLiteral("id"), 0))
        && !q.value(QStringLiteral("content")).trimmed().isEmpty();
    return ok ? QStringLiteral("歌词上传成功，谢谢！") : QStringLiteral("歌词上传失败");
}

std::optional<Reply> DemoSite::page(const QString &path, const Query &q, const QString &host) const
{
    auto data = [](const QString &payload) {
        Reply r;
        r.body = HiddenDataPage::wrap(payload).toUtf8();
        return r;
    };
    auto text = [](const QString &t) {
        Reply r;
        r.body = t.toUtf8();
        return r;
    };

    if (path == u"soft.asp")
        return data(siteChart(q, host));
    if (path == u"kxrjbaidu.asp")
        return data(mp3Chart(q, host));
    const QRegularExpression level(QStringLiteral("^urlkxrj_([0-4])\\.asp$"));
    if (const auto m = level.match(path); m.hasMatch())
        return data(libraryLevel(m.captured(1).toInt(), q, host));
    if (path == u"news.asp")
        return data(newsCategories());
    if (path == u"softss.asp")
        return data(siteSearch(q, host));
    if (path == u"baidulist.asp")
        return data(networkSearch(q));
    if (path == u"baiduurl.asp")
        return data(candidates(q, host));
    if (path == u"softlrc.asp")
        return data(lyrics(q));
    if (path == u"dl.asp")
        return data(notice(host));
    if (path == u"kxrjzf.asp")
        return text(dedication(q));
    if (path == u"kxrjgc.asp")
        return text(lyricsUpload(q));
    if (path == u"kxrjgq.asp" || path == u"kxrjurl.asp")
        return text(QStringLiteral("成功"));

    if (const auto html = humanPage(path, q, host))
        return text(*html);
    return std::nullopt;
}

} // namespace kivo::demo
