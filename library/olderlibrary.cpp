#include "library/olderlibrary.h"

#include "library/partcopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kivo::OlderLibrary {

namespace {

// Both Access engines write their signature at offset 4 and the engine's version
// at offset 20.
constexpr qsizetype kSignatureAt = 4;
constexpr qsizetype kVersionAt = 20;

QString accessFormatName(const QByteArray &header)
{
    const QByteArray signature = header.mid(kSignatureAt, 15);
    const int version = header.size() > kVersionAt ? quint8(header.at(kVersionAt)) : -1;
    if (signature == "Standard ACE DB")
        return QStringLiteral("Access 2007 及更新版本的 ACE 格式（.accdb）");
    if (signature != "Standard Jet DB")
        return {};
    if (version == 0)
        return QStringLiteral("Access 97 的 Jet 3 格式（.mdb）");
    return QStringLiteral("Access 2000–2003 的 Jet 4 格式（.mdb）");
}

} // namespace

QString accessFormatReason(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString format = accessFormatName(file.read(kVersionAt + 1));
    if (format.isEmpty())
        return {};
    return QStringLiteral("这是旧版播放器的 %1媒体库，本播放器只能打开 SQLite 格式的媒体库。"
                          "请先把它转换为 SQLite：例如用 mdbtools 的 mdb-schema kx.dat sqlite 导出表结构、"
                          "mdb-export -I sqlite kx.dat 表名 导出每个表（class、list、ls、lslist、cd、config）的数据，"
                          "再用 sqlite3 把它们导入一个新文件，放在此处替换本文件。原文件未作任何改动。")
        .arg(format);
}

QString backUp(const QString &path, QString *error)
{
    QString target = path + QStringLiteral(".bak");
    for (int n = 1; QFile::exists(target) || QFile::exists(target + QStringLiteral(".part")); ++n)
        target = path + QStringLiteral(".bak.%1").arg(n);
    *error = copyThroughPart(path, target);
    if (!error->isEmpty())
        return {};
    const QString wal = path + QStringLiteral("-wal");
    if (QFileInfo::exists(wal)) {
        *error = copyThroughPart(wal, target + QStringLiteral("-wal"));
        if (!error->isEmpty())
            return {};
    }
    return target;
}

} // namespace kivo::OlderLibrary
