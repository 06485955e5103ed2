#pragma once

#include "downloads/downloadnaming.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QFileSystemModel;
class QLabel;
class QTreeView;

namespace kivo {

class SkinButton;

// The download options dialog `Form6`: the folder the downloads go below (a drive
// list and a folder list) and "重名智能起名". Its choices apply as they are made and
// last until the program ends; closing only hides it.
class DownloadOptionsDialog : public QWidget
{
    Q_OBJECT
public:
    DownloadOptionsDialog(const DownloadOptions &options, QWidget *owner = nullptr);

    DownloadOptions options() const { return m_options; }
    // Selects a folder in the folder list, as a click on it does.
    void chooseFolder(const QString &path);

    QComboBox *driveList() const { return m_drives; }
    QTreeView *folderList() const { return m_folders; }
    QCheckBox *numberNamesBox() const { return m_numberNames; }

Q_SIGNALS:
    void optionsChanged(const kivo::DownloadOptions &options);

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void fillDrives();
    void showDrive(const QString &rootPath);
    void setRoot(const QString &path);
    // Opens the folder list down to the chosen folder and selects it.
    void showChosenFolder();

    DownloadOptions m_options;
    QLabel *m_title;
    QComboBox *m_drives;
    QFileSystemModel *m_model;
    QTreeView *m_folders;
    QLabel *m_path;
    QCheckBox *m_numberNames;
    SkinButton *m_ok;
    SkinButton *m_close;
};

} // namespace kivo
