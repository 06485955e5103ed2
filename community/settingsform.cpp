#include "community/settingsform.h"

#include <limits>

namespace kivo {

std::optional<int> loadTimeSeconds(const QString &text)
{
    bool ok = false;
    const int seconds = text.trimmed().toInt(&ok);
    if (!ok || seconds < 1 || seconds > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return seconds;
}

SaveOutcome SaveSettings(
    const SettingsForm &form, StoredSettings &settings, SettingsStore &store, const QDateTime &today)
{
    const std::optional<int> seconds = loadTimeSeconds(form.loadTime);
    if (!seconds)
        return SaveOutcome::BadLoadTime;
    settings.loadTimeoutSeconds = *seconds;
    settings.localLyricsEnabled = form.localLyrics;
    settings.historyEnabled = form.history;
    settings.retryOnTimeout = form.retry;
    settings.downloadLyricsEnabled = form.lyricDownloads;
    settings.highlightColour = form.colour & 0xFFFFFF;
    settings.highlightColourStored = true;
    // The library logs a statement it could not run.
    return store.saveSettingsContent(settings.format(), today) ? SaveOutcome::Saved : SaveOutcome::NotStored;
}

} // namespace kivo
