#include "demo/democatalogue.h"

#include <QDate>

#include <algorithm>

namespace kivo::demo {

namespace {

const char16_t *const kArtistNames[] = {
    u"林海风",
    u"周明远",
    u"陈子航",
    u"王一舟",
    u"苏晓雨",
    u"李青禾",
    u"许安然",
    u"叶知秋",
    u"山海乐队",
    u"晨光乐团",
    u"星河组合",
    u"双子座组合",
    u"阿木",
    u"小禾",
    u"南风",
    u"北岛青年",
};

const char16_t *const kAlbumTitles[] = {
    u"海风集",
    u"远行",
    u"星光之下",
    u"一舟",
    u"晴天雨",
    u"青禾",
    u"安然如初",
    u"知秋",
    u"山海之间",
    u"晨光",
    u"星河",
    u"双子",
    u"木屋",
    u"小小的禾",
    u"南风知我意",
    u"青年",
    u"旧信",
    u"再出发",
    u"夜航",
    u"回声",
};

// Song titles: one of eight openings and one of six endings.
const char16_t *const kTitleHeads[]
    = {u"春天的", u"远方的", u"夜里的", u"城市的", u"海边的", u"秋天的", u"山上的", u"心里的"};
const char16_t *const kTitleTails[] = {u"风", u"歌", u"灯", u"路", u"信", u"梦"};

const char16_t *const kVideoTitles[] = {u"晨光里的我们", u"山海之间现场版", u"星河夜色"};
const int kVideoArtists[] = {110, 109, 111};

// Lyric lines of our own, sung one per phrase.
const char16_t *const kLyricPool[] = {
    u"清晨的风吹过窗台",
    u"你说今天会有好天气",
    u"我把心事写在纸上",
    u"沿着小路慢慢走",
    u"远处的灯一盏一盏亮起",
    u"把昨天轻轻放下",
    u"听见海浪在唱歌",
    u"云朵飘向看不见的地方",
    u"我们在路口说再见",
    u"旧照片里的笑脸",
    u"雨停了天也晴了",
    u"把这首歌送给你",
    u"走过春天走过秋天",
    u"夜空里有一颗星星",
    u"心里的话说给风听",
    u"明天还会再相见",
    u"小船摇啊摇",
    u"山那边是我的家乡",
    u"时间像河水一样流",
    u"一起唱这首简单的歌",
    u"灯光照亮回家的路",
    u"我还记得那个夏天",
    u"轻轻地哼着这段旋律",
    u"梦里的花开满山坡",
};

constexpr int kSongCount = 48;
constexpr int kAlbumCount = 20;

QString dateText(int dayOffset)
{
    return QDate(2026, 1, 1).addDays(dayOffset).toString(QStringLiteral("yyyy-MM-dd"));
}

} // namespace

QString artistName(const DemoCatalogue &catalogue, int artistId)
{
    const DemoArtist *a = catalogue.artist(artistId);
    return a ? a->name : QString();
}

DemoCatalogue::DemoCatalogue()
{
    for (int i = 0; i < 16; ++i)
        m_artists.append({101 + i, QString::fromUtf16(kArtistNames[i]), 300 + (i * 53) % 700});

    for (int a = 1; a <= kAlbumCount; ++a) {
        const int artistId = a <= 16 ? 100 + a : 100 + (a - 16);
        m_albums.append({500 + a, QString::fromUtf16(kAlbumTitles[a - 1]), artistId, dateText((a * 17) % 330),
            200 + (a * 71) % 900});
    }

    for (int s = 1; s <= kSongCount; ++s) {
        DemoSong song;
        song.number = s;
        song.id = 1000 + s;
        song.title = QString::fromUtf16(kTitleHeads[(s - 1) % 8]) + QString::fromUtf16(kTitleTails[(s - 1) / 8]);
        song.albumId = 500 + ((s - 1) % kAlbumCount) + 1;
        song.artistId = album(song.albumId)->artistId;
        song.added = dateText((s * 11) % 330);
        song.popularity = 50 + ((s * 37) % 100) * 13;
        song.seconds = 20 + (s * 7) % 21;
        song.directLocator = s % 3 != 0;
        song.hasLyrics = s % 5 != 0;
        // Every fourth song has three dead addresses first, every other odd one has one.
        song.deadCandidates = s % 4 == 0 ? 3 : (s % 4 == 1 ? 1 : 0);
        song.onlyDeadCandidates = s == 47;
        song.mediaPath = QStringLiteral("songs/%1.mp3").arg(song.id);
        m_songs.append(song);
    }

    for (int v = 1; v <= 3; ++v) {
        DemoSong video;
        video.number = v;
        video.id = 2000 + v;
        video.title = QString::fromUtf16(kVideoTitles[v - 1]);
        video.artistId = kVideoArtists[v - 1];
        video.added = dateText(300 + v);
        video.popularity = 900 - v * 100;
        video.seconds = 10;
        video.video = true;
        video.directLocator = true;
        video.mediaPath = QStringLiteral("mtv/%1.mp4").arg(video.id);
        m_videos.append(video);
    }

    // Levels of the music library: top categories, sub-categories, artists.
    m_top = {
        {1, QStringLiteral("华语歌手"), {11, 12}, false},
        {2, QStringLiteral("乐队组合"), {21, 22}, false},
        {3, QStringLiteral("原创新声"), {31, 32}, false},
    };
    QList<int> everyone;
    for (const DemoArtist &a : std::as_const(m_artists))
        everyone.append(a.id);
    m_sub = {
        {11, QStringLiteral("男歌手"), {101, 102, 103, 104}, true},
        {12, QStringLiteral("女歌手"), {105, 106, 107, 108}, true},
        {21, QStringLiteral("乐队"), {109, 110}, true},
        {22, QStringLiteral("组合"), {111, 112}, true},
        {31, QStringLiteral("新人推荐"), everyone, true},
        {32, QStringLiteral("民谣歌手"), {113, 114, 115, 116}, true},
    };
}

const DemoArtist *DemoCatalogue::artist(int id) const
{
    for (const DemoArtist &a : m_artists)
        if (a.id == id)
            return &a;
    return nullptr;
}

const DemoAlbum *DemoCatalogue::album(int id) const
{
    for (const DemoAlbum &a : m_albums)
        if (a.id == id)
            return &a;
    return nullptr;
}

const DemoSong *DemoCatalogue::songById(int id) const
{
    for (const DemoSong &s : m_songs)
        if (s.id == id)
            return &s;
    for (const DemoSong &s : m_videos)
        if (s.id == id)
            return &s;
    return nullptr;
}

const DemoCategory *DemoCatalogue::category(int id) const
{
    for (const DemoCategory &c : m_top)
        if (c.id == id)
            return &c;
    for (const DemoCategory &c : m_sub)
        if (c.id == id)
            return &c;
    return nullptr;
}

QList<const DemoSong *> DemoCatalogue::songsOfAlbum(int albumId) const
{
    QList<const DemoSong *> out;
    for (const DemoSong &s : m_songs)
        if (s.albumId == albumId)
            out.append(&s);
    return out;
}

QList<const DemoSong *> DemoCatalogue::songsOfArtist(int artistId) const
{
    QList<const DemoSong *> out;
    for (const DemoSong &s : m_songs)
        if (s.artistId == artistId)
            out.append(&s);
    return out;
}

QList<const DemoSong *> DemoCatalogue::videosOfArtist(int artistId) const
{
    QList<const DemoSong *> out;
    for (const DemoSong &s : m_videos)
        if (s.artistId == artistId)
            out.append(&s);
    return out;
}

QList<const DemoAlbum *> DemoCatalogue::albumsOfArtist(int artistId) const
{
    QList<const DemoAlbum *> out;
    for (const DemoAlbum &a : m_albums)
        if (a.artistId == artistId)
            out.append(&a);
    return out;
}

QList<const DemoSong *> DemoCatalogue::search(const QStringList &words, bool withVideos) const
{
    QList<const DemoSong *> out;
    auto consider = [&](const DemoSong &s) {
        const QString hay = s.title + u' ' + artistName(*this, s.artistId);
        bool any = false;
        for (const QString &w : words) {
            const QString t = w.trimmed();
            if (t.isEmpty())
                continue;
            any = true;
            if (!hay.contains(t, Qt::CaseInsensitive))
                return;
        }
        if (any)
            out.append(&s);
    };
    for (const DemoSong &s : m_songs)
        consider(s);
    if (withVideos)
        for (const DemoSong &s : m_videos)
            consider(s);
    return out;
}

QList<const DemoSong *> DemoCatalogue::searchSite(const QString &titleWord, const QString &artistWord) const
{
    QList<const DemoSong *> out;
    const QString t = titleWord.trimmed();
    const QString a = artistWord.trimmed();
    if (t.isEmpty() && a.isEmpty())
        return out;
    for (const DemoSong &s : m_songs) {
        if (!t.isEmpty() && !s.title.contains(t, Qt::CaseInsensitive))
            continue;
        if (!a.isEmpty() && !artistName(*this, s.artistId).contains(a, Qt::CaseInsensitive))
            continue;
        out.append(&s);
    }
    return out;
}

const DemoSong *DemoCatalogue::songForSearchText(const QString &word, const QString &title) const
{
    const QStringList parts = word.split(QLatin1Char('+'));
    const QString wordTitle = parts.value(0).trimmed();
    const QString wordArtist = parts.value(1).trimmed();
    auto find = [&](const QList<DemoSong> &list) -> const DemoSong * {
        for (const DemoSong &s : list)
            if (s.title == wordTitle && (wordArtist.isEmpty() || artistName(*this, s.artistId) == wordArtist))
                return &s;
        for (const DemoSong &s : list)
            if (!title.trimmed().isEmpty() && s.title == title.trimmed())
                return &s;
        return nullptr;
    };
    if (const DemoSong *s = find(m_songs))
        return s;
    return find(m_videos);
}

QStringList DemoCatalogue::lyricLines(const DemoSong &song) const
{
    QStringList lines;
    if (!song.hasLyrics)
        return lines;
    const int poolSize = int(std::size(kLyricPool));
    lines << QStringLiteral("[ti:%1]").arg(song.title)
          << QStringLiteral("[ar:%1]").arg(artistName(*this, song.artistId))
          << QStringLiteral("[00:00.00]%1 - %2").arg(song.title, artistName(*this, song.artistId));
    for (int at = kPhraseSeconds, k = 0; at < song.seconds - 1; at += kPhraseSeconds, ++k) {
        const QString stamp
            = QStringLiteral("[%1:%2.00]").arg(at / 60, 2, 10, QLatin1Char('0')).arg(at % 60, 2, 10, QLatin1Char('0'));
        lines << stamp + QString::fromUtf16(kLyricPool[(song.number * 5 + k * 7) % poolSize]);
    }
    return lines;
}

namespace {

// A pentatonic tune: half-second notes whose degree follows from the note and
// phrase numbers, each note plucked and decaying, over a quiet drone on the root.
QString melody(int root, int a, int b, int c)
{
    // ld(0): the degree, ld(1): the note's frequency, ld(2): time since the note began.
    return QStringLiteral(
        "st(0,mod(floor(t*2)*%1+floor(t/4)*%2+%3,5));"
        "st(1,%4*pow(2,if(eq(ld(0),0),0,if(eq(ld(0),1),2,if(eq(ld(0),2),4,if(eq(ld(0),3),7,9))))/12));"
        "st(2,mod(t,0.5));"
        "0.4*exp(-4*ld(2))*min(1,ld(2)*40)*(sin(2*PI*ld(1)*t)+0.3*sin(4*PI*ld(1)*t))"
        "+0.08*sin(PI*%4*t)")
        .arg(a)
        .arg(b)
        .arg(c)
        .arg(root);
}

} // namespace

QString DemoCatalogue::mediaPlan() const
{
    static const int roots[] = {196, 220, 247, 262, 294, 330};
    QString plan;
    for (const DemoSong &s : m_songs)
        plan += QStringLiteral("%1|%2|audio|%3\n")
                    .arg(s.mediaPath)
                    .arg(s.seconds)
                    .arg(melody(roots[s.number % 6], 1 + s.number % 4, 2 + s.number % 3, s.number % 5));
    for (const DemoSong &v : m_videos)
        plan += QStringLiteral("%1|%2|video|%3\n")
                    .arg(v.mediaPath)
                    .arg(v.seconds)
                    .arg(melody(roots[v.number], 3, 1, v.number));
    plan += QStringLiteral("bench30.mp3|%1|audio|%2\n").arg(kBenchSeconds).arg(melody(262, 2, 3, 1));
    return plan;
}

} // namespace kivo::demo
