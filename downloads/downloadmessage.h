#pragma once

#include <QMetaType>
#include <QString>

namespace kivo {

// What the download manager tells the user, one message box each.
struct DownloadMessage
{
    enum class Kind {
        QueueFull, // the queue limit refused a song (critical)
        Queued, // a song was queued (no icon)
        DailyLimitReached, // today's downloads are used up (critical)
    };
    Kind kind = Kind::Queued;
    int limit = 0;

    bool isCritical() const { return kind != Kind::Queued; }
    QString text() const
    {
        switch (kind) {
        case Kind::QueueFull:
            return QStringLiteral("错误：下载个数已经超过：%1。").arg(limit);
        case Kind::Queued:
            return QStringLiteral("添加下载歌曲成功。");
        case Kind::DailyLimitReached:
            return QStringLiteral("错误：今天的下载次数已经达到上限：%1。").arg(limit);
        }
        return {};
    }
};

} // namespace kivo

Q_DECLARE_METATYPE(kivo::DownloadMessage)
