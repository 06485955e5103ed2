#include "updater/progresstext.h"

#include <algorithm>

namespace kivo {

QString formatThousands(qint64 bytes)
{
    if (bytes == 0)
        return QString();
    const QString digits = QString::number(bytes < 0 ? -bytes : bytes);
    QString text;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += u',';
        text += digits.at(i);
    }
    return bytes < 0 ? u'-' + text : text;
}

QString progressText(qint64 received, qint64 fileSize)
{
    return formatThousands(received) + u"字节/"_qs + formatThousands(fileSize) + u"字节"_qs;
}

std::optional<int> progressPercent(qint64 received, qint64 fileSize)
{
    if (fileSize <= 0)
        return std::nullopt;
    return int(std::clamp<qint64>(received * 100 / fileSize, 0, 100));
}

} // namespace kivo
