#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace kivo::demo {

// The invented catalogue the demo server shows. Everything is derived from fixed
// tables and simple formulas, so every run (and every test) sees the same data.

struct DemoArtist
{
    int id = 0; // 101..
    QString name;
    int popularity = 0;
};

struct DemoAlbum
{
    int id = 0; // 501..
    QString title;
    int artistId = 0;
    QString released;
    int popularity = 0;
};

struct DemoSong
{
    int number = 0; // 1.. (position in the catalogue)
    int id = 0; // music id: 1000 + number; videos 2000 + n
    QString title;
    int artistId = 0;
    int albumId = 0; // 0 for videos
    QString added;
    int popularity = 0;
    int seconds = 0;
    bool video = false;
    bool directLocator = false; // the list record carries its address
    bool hasLyrics = false;
    int deadCandidates = 0; // dead addresses before the working ones in the search answer
    bool onlyDeadCandidates = false;
    QString mediaPath; // below the media folder, e.g. "songs/1001.mp3"
};

struct DemoCategory
{
    int id = 0;
    QString caption;
    QList<int> children; // sub-category ids, or artist ids at the lowest level
    bool holdsArtists = false;
};

class DemoCatalogue
{
public:
    DemoCatalogue();

    static constexpr int kPhraseSeconds = 4;
    static constexpr int kBenchSeconds = 30;

    const QList<DemoArtist> &artists() const { return m_artists; }
    const QList<DemoAlbum> &albums() const { return m_albums; }
    const QList<DemoSong> &songs() const { return m_songs; } // audio songs only
    const QList<DemoSong> &videos() const { return m_videos; }
    const QList<DemoCategory> &topCategories() const { return m_top; }

    const DemoArtist *artist(int id) const;
    const DemoAlbum *album(int id) const;
    const DemoSong *songById(int id) const; // songs and videos
    const DemoCategory *category(int id) const; // top and sub-categories

    QList<const DemoSong *> songsOfAlbum(int albumId) const;
    QList<const DemoSong *> songsOfArtist(int artistId) const;
    QList<const DemoSong *> videosOfArtist(int artistId) const;
    QList<const DemoAlbum *> albumsOfArtist(int artistId) const;

    // Songs whose title or artist contains every given word (empty words ignored).
    QList<const DemoSong *> search(const QStringList &words, bool withVideos) const;
    // Songs whose title contains titleWord and artist contains artistWord.
    QList<const DemoSong *> searchSite(const QString &titleWord, const QString &artistWord) const;
    // The song a search text "title+artist" (or a bare title) names.
    const DemoSong *songForSearchText(const QString &word, const QString &title) const;

    // LRC lines (without "<br>"), timed to the song's phrases; empty without lyrics.
    QStringList lyricLines(const DemoSong &song) const;

    // What the media script synthesises: one line per file,
    // "path|seconds|kind|audio expression", kind "audio" or "video".
    QString mediaPlan() const;

private:
    QList<DemoArtist> m_artists;
    QList<DemoAlbum> m_albums;
    QList<DemoSong> m_songs;
    QList<DemoSong> m_videos;
    QList<DemoCategory> m_top;
    QList<DemoCategory> m_sub;
};

QString artistName(const DemoCatalogue &catalogue, int artistId);

} // namespace kivo::demo
