#pragma once

#include "library/storedsettings.h"

#include <QDateTime>
#include <QString>

#include <optional>

namespace kivo {

namespace SettingsTexts {
inline const QString kSaved = QStringLiteral("参数修改成功。");
inline const QString kBadLoadTime = QStringLiteral("缓存调入时间必须是1到32767之间的整数。");
} // namespace SettingsTexts

// Where the settings text is kept: table config of the library. A row added for it
// belongs to `today` with no downloads counted.
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;
    virtual bool saveSettingsContent(const QString &content, const QDateTime &today) = 0;
};

// The settings dialog's controls as the user left them.
struct SettingsForm
{
    QString loadTime; // "设置歌曲缓存调入时间：" … "秒。"
    bool localLyrics = true; // "显示LRC同步歌词。"
    bool history = true; // "歌曲播放记录历史动作。"
    bool retry = true; // "歌曲无效时自动网络搜索。"
    bool lyricDownloads = false; // "下载歌曲时，同步下载LRC歌词。"
    quint32 colour = StoredSettings::kDefaultHighlightColour; // the swatch, red in the low byte
};

// The buffering time as typed: a whole number of seconds from 1 to 32767 (the load
// watchdog divides by it), else nothing.
std::optional<int> loadTimeSeconds(const QString &text);

enum class SaveOutcome {
    Saved, // in memory and stored: "参数修改成功。"
    BadLoadTime, // refused, nothing changed: "缓存调入时间必须是1到32767之间的整数。"
    NotStored, // in effect for this run, but the library refused the text
};

// The save button: checks the buffering time, puts the six settings into `settings`
// (the player's one copy) and stores their text.
SaveOutcome SaveSettings(
    const SettingsForm &form, StoredSettings &settings, SettingsStore &store, const QDateTime &today);

} // namespace kivo
