#include "downloads/formatsize.h"

#include <cmath>

namespace kivo {

QString FormatSize(qint64 bytes)
{
    float v = float(bytes);
    QString unit = QStringLiteral("字节");
    QString hundredths = QStringLiteral("0");
    for (const QString &next : {QStringLiteral("KB"), QStringLiteral("MB"), QStringLiteral("G")}) {
        if (v < 1024.0f)
            break;
        v /= 1024.0f;
        // The last two digits of v × 100 − 0.5 rounded half to even (the default
        // rounding mode), so the figure is cut, never rounded up to the next unit.
        hundredths = QString::number(std::lrint(v * 100.0f - 0.5f)).right(2);
        unit = next;
    }
    return QString::number(qint64(std::floor(v))) + u'.' + hundredths.rightJustified(2, u'0') + unit;
}

std::optional<QString> progressPercent(qint64 received, qint64 size)
{
    if (size <= 0)
        return std::nullopt;
    const qint64 percent = std::min<qint64>(99, received * 100 / size);
    return QString::number(std::max<qint64>(0, percent)) + u'%';
}

} // namespace kivo
