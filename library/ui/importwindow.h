#pragma once

#include "skin/skinneddialog.h"

#include <QStringList>

class QCheckBox;
class QComboBox;
class QFileSystemModel;
class QListView;
class QStringListModel;
class QTreeView;

namespace kivo {

// What the import window asks for when its OK button is pressed.
struct ImportRequest
{
    QStringList files; // full paths, in list order
    bool append = false; // "追加文件"
    int targetPlaylist = 0; // 0: the now-playing queue
};

// Form7, "打开本地音乐文件": places (home, the music folder, mounted volumes), a folder
// tree and the folder's playable files, several selectable. It remembers the folder
// last shown while the player runs (it is hidden, never destroyed). The commands
// around it do the import and report back through importSucceeded / importFailed.
class ImportWindow : public SkinnedDialog
{
    Q_OBJECT
public:
    explicit ImportWindow(QWidget *owner);

    // The import's target: 0 the now-playing queue, else a playlist id.
    int targetPlaylist() const { return m_target; }
    void setTargetPlaylist(int playlistId) { m_target = playlistId; }

    QString folder() const { return m_folder; }
    // Shows a folder in the tree and its files in the list.
    void showFolder(const QString &path);
    QStringList listedFiles() const; // names, in list order

    // OK: the files chosen now; nothing when no file is selected.
    void accept();
    // While an import runs, OK waits.
    void setImportRunning(bool running);
    // Closes the window with "打开文件成功.".
    void importSucceeded();
    // Stays open with the critical "操作失败：" message.
    void importFailed(const QString &message);

Q_SIGNALS:
    void importRequested(const kivo::ImportRequest &request);

private:
    void fillPlaces();

    int m_target = 0;
    QString m_folder;
    QComboBox *m_places;
    QFileSystemModel *m_folderModel;
    QTreeView *m_folders;
    QStringListModel *m_fileModel;
    QListView *m_files;
    QCheckBox *m_all;
    QCheckBox *m_append;
    QAbstractButton *m_ok;
};

} // namespace kivo
