#pragma once

#include "community/settingsform.h"
#include "skin/skinneddialog.h"

#include <functional>

class QCheckBox;
class QColorDialog;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kivo {

class SkinButton;
class UserPreferences;

// The settings dialog `Form10` ("播放器参数设置"): the buffering time, four switches
// and the lyric highlight colour. Saving changes the player's one copy of the
// settings and stores their text; the colour can be tried on the lyric line before.
class SettingsDialog : public SkinnedDialog
{
    Q_OBJECT
public:
    // `settings` is the player's copy, `today` the date a new config row is given.
    // `preferences`: the switches kept outside the library (null: no such switch).
    SettingsDialog(StoredSettings *settings, SettingsStore *store, std::function<QDateTime()> today, QWidget *owner,
        UserPreferences *preferences = nullptr);

    // Opening: the time and the switches from the settings in use; the swatch keeps
    // what it last showed in this dialog (at first, the colour in use).
    void fill();
    SettingsForm form() const;
    quint32 swatchColour() const { return m_swatchColour; }

    QLineEdit *loadTimeBox() const { return m_loadTime; }
    QCheckBox *lyricsSwitch() const { return m_lyrics; }
    QCheckBox *historySwitch() const { return m_history; }
    QCheckBox *retrySwitch() const { return m_retry; }
    QCheckBox *lyricDownloadSwitch() const { return m_lyricDownloads; }
    QCheckBox *notificationSwitch() const { return m_notifications; }
    QPushButton *colourButton() const { return m_chooseColour; }
    SkinButton *saveButton() const { return m_save; }
    // Null until the colour was first chosen.
    QColorDialog *colourDialog() const { return m_colours; }

    // The save button (`Image1`).
    SaveOutcome SaveSettings();
    // `Label4`: the colour dialog, without waiting for it.
    void ChooseHighlightColour();

Q_SIGNALS:
    // A colour was picked: the lyric highlight shows it at once.
    void highlightColourChosen(const QColor &colour);
    // The settings in use changed: the player applies them.
    void settingsSaved();

private:
    void setSwatch(quint32 colour);

    StoredSettings *m_settings;
    SettingsStore *m_store;
    std::function<QDateTime()> m_today;
    quint32 m_swatchColour;
    QLineEdit *m_loadTime;
    QCheckBox *m_lyrics;
    QCheckBox *m_history;
    QCheckBox *m_retry;
    QCheckBox *m_lyricDownloads;
    UserPreferences *m_preferences;
    QCheckBox *m_notifications = nullptr;
    QPushButton *m_chooseColour;
    QLabel *m_swatch;
    SkinButton *m_save;
    QColorDialog *m_colours = nullptr;
};

} // namespace kivo
