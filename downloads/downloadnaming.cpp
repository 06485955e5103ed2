#include "downloads/downloadnaming.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

namespace kivo {

namespace {

// Linux file names hold at most 255 bytes; the transfer writes name + ".part" first.
constexpr int kNameMaxBytes = 255;
const QString kPartSuffix = QStringLiteral(".part");
constexpr int kLongestExtension = 8;
constexpr int kMostNumberedNames = 10000;

bool unsafe(QChar c)
{
    return c == u'/' || c == u'\\' || c.category() == QChar::Other_Control || c == QChar::LineSeparator
        || c == QChar::ParagraphSeparator;
}

int utf8Size(const QString &text)
{
    return int(text.toUtf8().size());
}

} // namespace

QString downloadFolder(const QString &root)
{
    return QDir(root).filePath(QStringLiteral("KivoDownload"));
}

QString defaultDownloadRoot()
{
    const QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    return music.isEmpty() ? QDir::homePath() : music;
}

QString downloadExtension(const QString &address)
{
    const QString path = QUrl(address.trimmed(), QUrl::TolerantMode).path();
    const QString name = path.section(u'/', -1);
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString ext = dot < 0 ? QString() : name.mid(dot + 1);
    const bool plain = !ext.isEmpty() && ext.size() <= kLongestExtension
        && std::all_of(ext.begin(), ext.end(), [](QChar c) { return c.isLetterOrNumber() && c.unicode() < 128; });
    return plain ? ext : QStringLiteral("mp3");
}

QString safeFileStem(const QString &title, int reservedBytes)
{
    QString stem;
    stem.reserve(title.size());
    for (QChar c : title)
        stem.append(unsafe(c) ? u'_' : c);
    if (stem.trimmed().isEmpty() || std::all_of(stem.begin(), stem.end(), [](QChar c) { return c == u'.'; }))
        stem = QString(std::max<qsizetype>(1, stem.size()), u'_');

    const int budget = kNameMaxBytes - reservedBytes;
    while (!stem.isEmpty() && utf8Size(stem) > budget) {
        stem.chop(1);
        if (!stem.isEmpty() && stem.back().isHighSurrogate())
            stem.chop(1); // never half a character
    }
    return stem.isEmpty() ? QStringLiteral("_") : stem;
}

QString downloadFilePath(const QString &folder, const QString &title, const QString &address, bool numberDuplicates,
    const FileExists &exists)
{
    const QString ext = u'.' + downloadExtension(address);
    const QDir dir(folder);
    auto named = [&](const QString &suffix) {
        return dir.filePath(safeFileStem(title, utf8Size(suffix + kPartSuffix)) + suffix);
    };
    QString path = named(ext);
    // Numbered names count from 0 for each download; past the last one tried the
    // file is overwritten as without numbering.
    for (int k = 0; numberDuplicates && k < kMostNumberedNames && exists(path); ++k)
        path = named(u'_' + QString::number(k) + ext);
    return path;
}

} // namespace kivo
