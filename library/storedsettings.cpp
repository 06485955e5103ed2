#include "library/storedsettings.h"

#include <QStringList>

#include <limits>
#include <optional>

namespace kivo {

namespace {

const QString kFieldSeparator = QStringLiteral("㊣");

std::optional<int> wholeNumber16(const QString &field)
{
    bool ok = false;
    const int value = field.trimmed().toInt(&ok);
    if (!ok || value < std::numeric_limits<qint16>::min() || value > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return value;
}

void takeSwitch(const QString &field, bool &target)
{
    if (const auto value = wholeNumber16(field))
        target = *value == 1;
}

} // namespace

StoredSettings StoredSettings::parse(const QString &content)
{
    StoredSettings s;
    if (content.isEmpty())
        return s;
    const QStringList f = content.split(kFieldSeparator);
    const qsizetype n = f.size();
    if (n >= 2) {
        // The load watchdog divides by this value: only a positive time is taken.
        if (const auto seconds = wholeNumber16(f[0]); seconds && *seconds >= 1)
            s.loadTimeoutSeconds = *seconds;
        takeSwitch(f[1], s.localLyricsEnabled);
    }
    if (n >= 3)
        takeSwitch(f[2], s.historyEnabled);
    if (n >= 4)
        takeSwitch(f[3], s.retryOnTimeout);
    if (n >= 5)
        takeSwitch(f[4], s.downloadLyricsEnabled);
    if (n >= 6) {
        bool ok = false;
        const qlonglong colour = f[5].trimmed().toLongLong(&ok);
        if (ok && colour >= 0 && colour <= 0xFFFFFF) {
            s.highlightColour = static_cast<quint32>(colour);
            s.highlightColourStored = true;
        }
    }
    return s;
}

QString StoredSettings::format() const
{
    auto flag = [](bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); };
    return QString::number(loadTimeoutSeconds) + kFieldSeparator + flag(localLyricsEnabled) + kFieldSeparator
        + flag(historyEnabled) + kFieldSeparator + flag(retryOnTimeout) + kFieldSeparator + flag(downloadLyricsEnabled)
        + kFieldSeparator + QString::number(highlightColour);
}

QColor StoredSettings::colourOf(quint32 value)
{
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

quint32 StoredSettings::colourValue(const QColor &colour)
{
    return quint32(colour.red()) | (quint32(colour.green()) << 8) | (quint32(colour.blue()) << 16);
}

} // namespace kivo
