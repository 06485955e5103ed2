#include "lyrics/lyricfiles.h"

#include "core/address.h"

#include <QFile>
#include <QStringConverter>
#include <QStringDecoder>

namespace kivo {

namespace {
// Lyric files are a few kilobytes; anything far larger is not one.
constexpr qint64 kMaxLyricFileBytes = 4 * 1024 * 1024;

// The name older lyric collections use: the path up to its first "." with ".lrc",
// only where that lies in the song's own folder and differs from the current name.
QString olderLyricFilePathFor(const QString &songPath)
{
    const qsizetype slash = std::max(songPath.lastIndexOf(u'/'), songPath.lastIndexOf(u'\\'));
    const qsizetype firstDot = songPath.indexOf(u'.');
    if (firstDot <= slash + 1)
        return {};
    const QString older = songPath.left(firstDot) + QStringLiteral(".lrc");
    return older == LyricFilePathFor(songPath) ? QString() : older;
}

std::optional<QString> readLyricFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxLyricFileBytes)
        return std::nullopt;
    const QString text = decodeLyricFileBytes(file.readAll());
    if (QStringView(text).trimmed().size() < 10)
        return std::nullopt;
    return lineEndsToBr(text);
}
} // namespace

QString LyricFilePathFor(const QString &songPath)
{
    const qsizetype slash = std::max(songPath.lastIndexOf(u'/'), songPath.lastIndexOf(u'\\'));
    const qsizetype nameStart = slash + 1;
    const qsizetype dot = songPath.lastIndexOf(u'.');
    // A name without extension, or a dot-file such as ".song", keeps its whole name.
    if (dot <= nameStart)
        return songPath + QStringLiteral(".lrc");
    return songPath.left(dot) + QStringLiteral(".lrc");
}

QString decodeLyricFileBytes(const QByteArray &bytes)
{
    if (const std::optional<QStringConverter::Encoding> bom = QStringConverter::encodingForData(bytes)) {
        QStringDecoder decoder(*bom, QStringDecoder::Flag::Stateless);
        return decoder.decode(bytes);
    }
    QStringDecoder utf8(QStringConverter::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder gb("GB18030", QStringDecoder::Flag::Stateless);
    if (gb.isValid())
        return gb.decode(bytes);
    return QString::fromLocal8Bit(bytes);
}

QString lineEndsToBr(const QString &text)
{
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("<br>"));
    out.replace(u'\r', QStringLiteral("<br>"));
    out.replace(u'\n', QStringLiteral("<br>"));
    return out;
}

std::optional<QString> LoadLocalLyrics(const QString &address, bool localLyricsEnabled)
{
    if (!localLyricsEnabled || address.isEmpty() || hasScheme(address))
        return std::nullopt;
    if (std::optional<QString> lyrics = readLyricFile(LyricFilePathFor(address)))
        return lyrics;
    if (const QString older = olderLyricFilePathFor(address); !older.isEmpty())
        return readLyricFile(older);
    return std::nullopt;
}

} // namespace kivo
