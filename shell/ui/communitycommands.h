#pragma once

#include <QObject>

namespace kivo {

class DedicationDialog;
class MainWindow;
class PlaybackViews;
class SearchDialog;
class SettingsDialog;

// The search and settings buttons, the info items of the "歌手", "CD架" and song-row
// menus, and the dedication of a song: the dialogs `Form4`, `Form8` and `Form10`,
// made on first use and owned by the main window.
class CommunityCommands : public QObject
{
    Q_OBJECT
public:
    CommunityCommands(MainWindow *window, PlaybackViews *playback);

    // Null until first opened.
    SearchDialog *searchDialog() const { return m_search; }
    DedicationDialog *dedicationDialog() const { return m_dedication; }
    SettingsDialog *settingsDialog() const { return m_settings; }

    void openSearch();
    void openSettings();
    // "给好友点歌" on the row the song-row menu was opened for.
    void StartDedication();
    // "查看简介", "购买此CD", "相关新闻" on the selected catalogue node.
    void openIntroduction();
    void openBuyCd();
    void openArtistNews();
    // "购买" on the selected album of the CD shelf.
    void openShelfBuy();
    // "下载铃声": the ring-tone page of the menu's row, in the desktop's browser.
    void openRingtones();

private:
    QString baseUrl() const;
    // The selected catalogue node's key and caption; false when none is selected.
    bool selectedCatalogueNode(QString &key, QString &caption) const;
    void showDialog(QWidget *dialog);

    MainWindow *m_window;
    PlaybackViews *m_playback;
    SearchDialog *m_search = nullptr;
    DedicationDialog *m_dedication = nullptr;
    SettingsDialog *m_settings = nullptr;
};

} // namespace kivo
