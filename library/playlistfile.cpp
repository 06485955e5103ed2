#include "library/playlistfile.h"

#include "core/address.h"
#include "core/logging.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSaveFile>
#include <QStringConverter>
#include <QStringDecoder>
#include <QUrl>

namespace kivo {

namespace {

// A location as written in the file, made absolute.
QString resolvedLocation(QString location, const QString &baseFolder)
{
    location = location.trimmed();
    if (location.isEmpty())
        return {};
    if (location.startsWith(u"file:", Qt::CaseInsensitive))
        return QUrl(location).toLocalFile();
    if (hasScheme(location))
        return location;
    // Lists made on Windows separate folders with backslashes.
    if (!location.contains(u'/'))
        location.replace(u'\\', u'/');
    return QDir::cleanPath(QDir(baseFolder).absoluteFilePath(location));
}

QList<PlaylistFileEntry> parseM3u(const QString &text, const QString &baseFolder)
{
    QList<PlaylistFileEntry> entries;
    QString pendingTitle;
    for (QStringView line : QStringView(text).split(u'\n')) {
        line = line.trimmed();
        if (line.isEmpty())
            continue;
        if (line.startsWith(u'#')) {
            if (line.startsWith(u"#EXTINF:", Qt::CaseInsensitive)) {
                const qsizetype comma = line.indexOf(u',');
                pendingTitle = comma < 0 ? QString() : line.mid(comma + 1).trimmed().toString();
            }
            continue;
        }
        const QString location = resolvedLocation(line.toString(), baseFolder);
        if (!location.isEmpty())
            entries.append({pendingTitle, location});
        pendingTitle.clear();
    }
    return entries;
}

QList<PlaylistFileEntry> parsePls(const QString &text, const QString &baseFolder)
{
    QMap<int, PlaylistFileEntry> byNumber;
    for (QStringView line : QStringView(text).split(u'\n')) {
        line = line.trimmed();
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0)
            continue;
        const QStringView key = line.left(equals).trimmed();
        const QStringView value = line.mid(equals + 1).trimmed();
        for (const auto &[prefix, isFile] : {std::pair {u"file", true}, std::pair {u"title", false}}) {
            const QStringView name(prefix);
            if (!key.startsWith(name, Qt::CaseInsensitive))
                continue;
            bool ok = false;
            const int number = key.mid(name.size()).toInt(&ok);
            if (!ok)
                continue;
            if (isFile)
                byNumber[number].location = resolvedLocation(value.toString(), baseFolder);
            else
                byNumber[number].title = value.toString();
        }
    }
    QList<PlaylistFileEntry> entries;
    for (const PlaylistFileEntry &entry : byNumber)
        if (!entry.location.isEmpty())
            entries.append(entry);
    return entries;
}

// Line breaks in a title or path would end the line of the file early.
QString oneLine(const QString &s)
{
    QString line = s;
    line.replace(u'\r', u' ').replace(u'\n', u' ');
    return line;
}

} // namespace

PlaylistFileFormat playlistFileFormat(const QString &fileName)
{
    return fileName.endsWith(u".pls", Qt::CaseInsensitive) ? PlaylistFileFormat::Pls : PlaylistFileFormat::M3u;
}

QList<PlaylistFileEntry> parsePlaylistText(const QString &text, PlaylistFileFormat format, const QString &baseFolder)
{
    QString plain = text;
    if (plain.startsWith(QChar(0xFEFF)))
        plain.remove(0, 1);
    return format == PlaylistFileFormat::Pls ? parsePls(plain, baseFolder) : parseM3u(plain, baseFolder);
}

std::optional<QList<PlaylistFileEntry>> readPlaylistFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcDb).noquote() << "cannot read the playlist file" << path << "-" << file.errorString();
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError() && !path.endsWith(u".m3u8", Qt::CaseInsensitive))
        text = QString::fromLocal8Bit(bytes);
    return parsePlaylistText(text, playlistFileFormat(path), QFileInfo(path).absolutePath());
}

QByteArray playlistFileText(const QList<PlaylistFileEntry> &entries, PlaylistFileFormat format)
{
    QString text;
    if (format == PlaylistFileFormat::M3u) {
        text = u"#EXTM3U\n"_qs;
        for (const PlaylistFileEntry &e : entries)
            text += u"#EXTINF:-1,"_qs + oneLine(e.title) + u'\n' + oneLine(e.location) + u'\n';
    } else {
        text = u"[playlist]\n"_qs;
        int n = 0;
        for (const PlaylistFileEntry &e : entries) {
            ++n;
            text += u"File%1=%2\nTitle%1=%3\nLength%1=-1\n"_qs.arg(n).arg(oneLine(e.location), oneLine(e.title));
        }
        text += u"NumberOfEntries=%1\nVersion=2\n"_qs.arg(n);
    }
    return text.toUtf8();
}

bool writePlaylistFile(const QString &path, const QList<PlaylistFileEntry> &entries, QString *error)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(playlistFileText(entries, playlistFileFormat(path))) >= 0
        && file.commit())
        return true;
    qCWarning(lcDb).noquote() << "cannot write the playlist file" << path << "-" << file.errorString();
    if (error)
        *error = file.errorString();
    return false;
}

QList<ImportItem> importItemsOf(const QList<PlaylistFileEntry> &entries)
{
    QList<ImportItem> items;
    items.reserve(entries.size());
    for (const PlaylistFileEntry &e : entries) {
        if (hasScheme(e.location)) {
            QString title = e.title;
            if (title.isEmpty())
                title = QUrl(e.location).fileName();
            items.append({title.isEmpty() ? e.location : title, e.location, QString()});
        } else {
            ImportItem item = ImportItem::localFile(e.location);
            if (!e.title.isEmpty())
                item.title = e.title;
            items.append(item);
        }
    }
    return items;
}

} // namespace kivo
