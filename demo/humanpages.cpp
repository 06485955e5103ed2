#include "demo/demosite.h"

#include <QRegularExpression>

namespace kivo::demo {

namespace {

struct NewsArticle
{
    const char16_t *title;
    const char16_t *text;
};

// Our own short news items, numbered from 1.
const NewsArticle kNews[] = {
    {u"林海风新专辑《海风集》今日上线", u"林海风带来全新专辑《海风集》，收录多首清新的原创作品，欢迎试听。"},
    {u"苏晓雨谈创作：把日常写进歌里", u"苏晓雨表示，新歌的灵感都来自平常的小事，希望大家听了心情变好。"},
    {u"山海乐队开启小型巡演", u"山海乐队将在多个城市举办小型演出，现场会演唱新歌《山海之间》。"},
    {u"本周新歌速递：春天的风", u"本周推荐新歌《春天的风》，旋律简单好听，适合清晨收听。"},
    {u"民谣歌手阿木发布单曲", u"阿木发布新单曲，用吉他和口琴讲述家乡的故事。"},
    {u"星河组合演出预告", u"星河组合下月将举办歌迷见面会，届时会首次演唱全新MTV歌曲。"},
};
const QList<int> kNewsOfCategory[] = {{1, 2, 3}, {4, 5}, {6}};

} // namespace

QString htmlEscape(const QString &text)
{
    return text.toHtmlEscaped();
}

QString htmlPage(const QString &title, const QString &bodyHtml)
{
    return QStringLiteral("<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n<title>")
        + htmlEscape(title) + QStringLiteral("</title>\n</head>\n<body>\n<h1>") + htmlEscape(title)
        + QStringLiteral("</h1>\n") + bodyHtml + QStringLiteral("\n</body>");
}

// The two small panes of the player's window: a line or two, in the player's colours.
static QString panePage(const QString &bodyHtml)
{
    return QStringLiteral(
               "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n"
               "<style>body{margin:4px;background:#11141a;color:#aebfcc;font-size:12px;"
               "line-height:1.5;overflow:hidden;white-space:nowrap}a{color:#6cc8ff;text-decoration:none}</style>\n"
               "</head>\n<body>\n")
        + bodyHtml + QStringLiteral("\n</body>");
}

QString DemoSite::newsListPage(const QString &title, const QList<int> &articles) const
{
    QString list = QStringLiteral("<ul>\n");
    for (int n : articles)
        list += QStringLiteral("<li><a href=\"softfile:news/%1.htm\">%2</a></li>\n")
                    .arg(n)
                    .arg(htmlEscape(QString::fromUtf16(kNews[n - 1].title)));
    list += QStringLiteral("</ul>");
    return htmlPage(title, list);
}

std::optional<QString> DemoSite::newsArticle(int number) const
{
    if (number < 1 || number > int(std::size(kNews)))
        return std::nullopt;
    const NewsArticle &a = kNews[number - 1];
    return htmlPage(QString::fromUtf16(a.title),
        QStringLiteral("<p>") + htmlEscape(QString::fromUtf16(a.text)) + QStringLiteral("</p>"));
}

QString DemoSite::lyricsSearchPage(const Query &q) const
{
    const QString word = q.value(QStringLiteral("word"));
    const DemoSong *song = m_catalogue.songForSearchText(word, word.section(u'+', 0, 0));
    QString body = QStringLiteral("<p>搜索：") + htmlEscape(word) + QStringLiteral("</p>\n");
    const QStringList lines = song ? m_catalogue.lyricLines(*song) : QStringList();
    if (lines.isEmpty()) {
        body += QStringLiteral("<p>没有找到相关歌词。</p>");
    } else {
        const QRegularExpression stamp(QStringLiteral("^\\[[^\\]]*\\]"));
        body += QStringLiteral("<h2>") + htmlEscape(song->title) + QStringLiteral("</h2>\n<p>");
        for (QString line : lines)
            if (!line.startsWith(u"[ti:") && !line.startsWith(u"[ar:"))
                body += htmlEscape(line.remove(stamp)) + QStringLiteral("<br>\n");
        body += QStringLiteral("</p>");
    }
    return htmlPage(QStringLiteral("歌词搜索"), body);
}

QString DemoSite::introPage(const Query &q) const
{
    const QString name = q.value(QStringLiteral("word"));
    QString body;
    if (q.has(QStringLiteral("nclassid"))) {
        const DemoArtist *a = m_catalogue.artist(q.number(QStringLiteral("nclassid"), 0));
        body = a ? QStringLiteral("<p>%1是本站的原创歌手，共有%2首歌曲。</p>")
                       .arg(htmlEscape(a->name))
                       .arg(m_catalogue.songsOfArtist(a->id).size())
                 : QStringLiteral("<p>暂无这位歌手的简介。</p>");
    } else {
        const DemoAlbum *al = m_catalogue.album(q.number(QStringLiteral("specialid"), 0));
        body = al ? QStringLiteral("<p>专辑《%1》由%2演唱，发行于%3。</p>")
                        .arg(htmlEscape(al->title), htmlEscape(artistName(m_catalogue, al->artistId)), al->released)
                  : QStringLiteral("<p>暂无这张专辑的简介。</p>");
    }
    return htmlPage(QStringLiteral("简介：") + name, body);
}

std::optional<QString> DemoSite::humanPage(const QString &path, const Query &q, const QString &host) const
{
    if (path == u"softbook.asp")
        return htmlPage(QStringLiteral("留言建议"),
            QStringLiteral("<p>欢迎留下您的意见和建议。</p>\n<form action=\"softbook.asp\" method=\"post\">"
                           "<textarea name=\"content\" rows=\"4\" cols=\"40\"></textarea>"
                           "<input type=\"submit\" value=\"提交\"></form>\n"
                           "<p><a href=\"softfile:news/1.htm\">最新消息</a></p>"));
    if (path == u"softhelp.asp")
        return htmlPage(QStringLiteral("帮助中心"),
            QStringLiteral("<p>双击左侧目录打开歌曲列表，双击歌曲开始播放。</p>\n"
                           "<p>右键点击歌曲可以下载、添加歌词或给好友点歌。</p>\n"
                           "<p><a href=\"softfile:news/4.htm\">本周新歌</a></p>"));
    if (path == u"webgg.asp")
        return panePage(QStringLiteral("今日推荐：<a href=\"softfile:news/4.htm\">春天的风</a>"));
    if (path == u"webggt.asp")
        return panePage(QStringLiteral("资讯：<a href=\"softfile:news/3.htm\">山海乐队开启小型巡演</a><br>"
                                       "资讯：<a href=\"softfile:news/1.htm\">查看最新资讯</a>"));
    if (path == u"notice.htm")
        return htmlPage(QStringLiteral("公告信息"),
            QStringLiteral("<p>本地演示服务器已启动，所有歌曲和歌词均为演示内容。</p>\n"
                           "<p><a href=\"softfile:news/1.htm\">查看最新资讯</a></p>"));
    if (path == u"down.asp")
        return htmlPage(QStringLiteral("下载最新版本"),
            QStringLiteral("<p><a href=\"http://") + host
                + QStringLiteral("/download/code/kivoplay.exe\">下载Kivo播放器</a></p>"));
    if (path == u"softgc.asp")
        return introPage(q);
    if (path == u"cdsearch.asp")
        return htmlPage(QStringLiteral("购买CD：") + q.value(QStringLiteral("title")),
            QStringLiteral("<p>演示服务器不出售唱片。《") + htmlEscape(q.value(QStringLiteral("title")))
                + QStringLiteral("》可以在本站免费试听。</p>"));
    if (path == u"newslist.asp") {
        const QString title = q.value(QStringLiteral("title"));
        QList<int> hits;
        for (int i = 0; i < int(std::size(kNews)); ++i)
            if (!title.trimmed().isEmpty() && QString::fromUtf16(kNews[i].title).contains(title.trimmed()))
                hits.append(i + 1);
        if (hits.isEmpty())
            hits = {1, 4};
        return newsListPage(QStringLiteral("相关新闻：") + title, hits);
    }
    if (path == u"baidugc.asp")
        return lyricsSearchPage(q);
    if (path == u"smsss.asp")
        return htmlPage(QStringLiteral("下载铃声"),
            QStringLiteral("<p>《") + htmlEscape(q.value(QStringLiteral("word")))
                + QStringLiteral("》的铃声正在制作中，敬请期待。</p>"));

    const QRegularExpression newsPath(QStringLiteral("^news/(c?)(\\d+)\\.htm$"));
    if (const auto m = newsPath.match(path); m.hasMatch()) {
        const int n = m.captured(2).toInt();
        if (m.captured(1).isEmpty())
            return newsArticle(n);
        static const char16_t *const captions[] = {u"明星动态", u"新歌速递", u"演出预告"};
        if (n >= 1 && n <= 3)
            return newsListPage(QString::fromUtf16(captions[n - 1]), kNewsOfCategory[n - 1]);
    }
    return std::nullopt;
}

} // namespace kivo::demo
