#include "transfer/headerblock.h"

namespace kivo {

QString rawHeaderBlock(const QList<std::pair<QByteArray, QByteArray>> &headers)
{
    QString block;
    for (const auto &[name, value] : headers)
        block += QString::fromLatin1(name) + u": " + QString::fromLatin1(value) + QChar(0);
    return block;
}

namespace {

// The spelling looked for, by upper-cased name.
QString spellingOf(const QString &upperName)
{
    static const QString known[] = {QStringLiteral("Content-Length"), QStringLiteral("Content-Type"),
        QStringLiteral("Date"), QStringLiteral("Last-Modified"), QStringLiteral("Server")};
    for (const QString &spelling : known) {
        if (spelling.toUpper() == upperName)
            return spelling;
    }
    return QString();
}

} // namespace

QString headerFromBlock(const QString &block, const QString &name)
{
    if (block.isEmpty())
        return QStringLiteral("0");
    if (name.isEmpty())
        return block;
    const QString spelling = spellingOf(name.toUpper());
    if (spelling.isEmpty())
        return QStringLiteral("0");
    // Only a whole name at a line start counts, so "X-Content-Length" or a value
    // that mentions "Date" is never taken for the header.
    const QString lineStart = spelling + u": ";
    qsizetype from = 0;
    while (from < block.size()) {
        qsizetype end = block.indexOf(QChar(0), from);
        if (end < 0)
            end = block.size();
        if (QStringView(block).mid(from, end - from).startsWith(lineStart))
            return block.mid(from + lineStart.size(), end - from - lineStart.size());
        from = end + 1;
    }
    return QStringLiteral("0");
}

} // namespace kivo
