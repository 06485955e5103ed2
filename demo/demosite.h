#pragma once

#include "demo/democatalogue.h"
#include "demo/demostate.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <optional>

namespace kivo::demo {

// The decoded query of a request. Values are percent-decoded; "+" stays "+",
// because the player joins song and singer with it.
class Query
{
public:
    static Query parse(const QByteArray &rawQuery);
    QString value(const QString &key) const;
    bool has(const QString &key) const;
    int number(const QString &key, int fallback) const;
    QList<QPair<QString, QString>> items;
};

struct Reply
{
    int status = 200;
    QByteArray body;
    QByteArray contentType = "text/html; charset=utf-8";
};

// Every page of the content server: data pages (hidden-body envelopes), action
// pages and pages meant for people.
class DemoSite
{
public:
    DemoSite(const DemoCatalogue &catalogue, DemoState &state);

    // The port of a listener that accepts connections and never answers.
    void setSilentPort(int port) { m_silentPort = port; }

    // path: normalised (no leading slashes, lower case). host: "127.0.0.1:port".
    std::optional<Reply> page(const QString &path, const Query &query, const QString &host) const;

    static constexpr int kSongsPerPage = 15;
    static constexpr int kNodesPerPage = 10;

private:
    // Data pages (datapages.cpp).
    QString siteChart(const Query &q, const QString &host) const;
    QString mp3Chart(const Query &q, const QString &host) const;
    QString libraryLevel(int level, const Query &q, const QString &host) const;
    QString newsCategories() const;
    QString siteSearch(const Query &q, const QString &host) const;
    QString networkSearch(const Query &q) const;
    QString candidates(const Query &q, const QString &host) const;
    QString lyrics(const Query &q) const;
    QString notice(const QString &host) const;
    QString dedication(const Query &q) const;
    QString lyricsUpload(const Query &q) const;

    QString songRecords(QList<const DemoSong *> songs, int kind, int page, const QString &host) const;
    QString categoryRecords(const QList<QStringList> &records, const Query &q) const;
    QStringList songRecord(const DemoSong &song, int kind, const QString &host) const;
    QStringList artistCategory(int artistId, bool video) const;
    QStringList albumCategory(int albumId) const;

    // Pages meant for people (humanpages.cpp).
    std::optional<QString> humanPage(const QString &path, const Query &q, const QString &host) const;
    QString lyricsSearchPage(const Query &q) const;
    QString introPage(const Query &q) const;
    QString newsListPage(const QString &title, const QList<int> &articles) const;
    std::optional<QString> newsArticle(int number) const;

    const DemoCatalogue &m_catalogue;
    DemoState &m_state;
    int m_silentPort = 0;
};

// A small well-formed page in UTF-8, ending with "</body>" and "</html>".
QString htmlPage(const QString &title, const QString &bodyHtml);
QString htmlEscape(const QString &text);

} // namespace kivo::demo
