#include "library/localfiles.h"

#include <QCollator>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace kivo {

namespace {

const QStringList &playableSuffixes()
{
    static const QStringList suffixes {u"mp3"_qs, u"wmv"_qs, u"wma"_qs, u"flac"_qs, u"ogg"_qs, u"opus"_qs, u"m4a"_qs,
        u"aac"_qs, u"wav"_qs, u"ape"_qs, u"mp4"_qs, u"mkv"_qs, u"webm"_qs, u"avi"_qs, u"flv"_qs};
    return suffixes;
}

} // namespace

bool isPlayableLocalFile(const QString &fileName)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    if (dot < 0)
        return false;
    const QStringView suffix = QStringView(fileName).mid(dot + 1);
    return std::any_of(playableSuffixes().cbegin(), playableSuffixes().cend(),
        [suffix](const QString &s) { return suffix.compare(s, Qt::CaseInsensitive) == 0; });
}

QStringList playableFilesIn(const QString &folder)
{
    QStringList names;
    const QDir dir(folder);
    for (const QString &name : dir.entryList(QDir::Files | QDir::Readable | QDir::Hidden))
        if (isPlayableLocalFile(name))
            names.append(name);
    QCollator collator;
    collator.setNumericMode(true);
    std::sort(names.begin(), names.end(), collator);
    return names;
}

QStringList collectPlayableFiles(const QStringList &paths)
{
    QStringList files;
    for (const QString &path : paths) {
        const QFileInfo info(path);
        if (info.isDir()) {
            // Linked folders are not followed: a link back up would never end.
            QDirIterator it(info.absoluteFilePath(), QDir::Files | QDir::Readable, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString file = it.next();
                if (isPlayableLocalFile(file))
                    files.append(file);
            }
        } else if (info.isFile() && isPlayableLocalFile(info.fileName())) {
            files.append(info.absoluteFilePath());
        }
    }
    std::sort(files.begin(), files.end());
    files.erase(std::unique(files.begin(), files.end()), files.end());
    return files;
}

} // namespace kivo
