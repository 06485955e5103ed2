#include "library/ui/importwindow.h"

#include "library/localfiles.h"
#include "library/localimport.h"
#include "skin/skinbutton.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QStringListModel>
#include <QTreeView>
#include <QVBoxLayout>

namespace kivo {

namespace {

QString startFolder()
{
    const QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    return QFileInfo(music).isDir() ? music : QDir::homePath();
}

} // namespace

ImportWindow::ImportWindow(QWidget *owner)
    : SkinnedDialog(u"Form7"_qs, u"打开本地音乐文件"_qs, owner)
    , m_places(new QComboBox(this))
    , m_folderModel(new QFileSystemModel(this))
    , m_folders(new QTreeView(this))
    , m_fileModel(new QStringListModel(this))
    , m_files(new QListView(this))
    , m_all(new QCheckBox(u"打开全部"_qs, this))
    , m_append(new QCheckBox(u"追加文件"_qs, this))
{
    resize(560, 420);
    titleLabel()->setObjectName(u"Label1"_qs);

    m_places->setObjectName(u"Drive1"_qs);
    m_places->setAccessibleName(u"位置"_qs);
    m_folderModel->setFilter(QDir::Dirs | QDir::NoDotAndDotDot);
    m_folderModel->setRootPath(u"/"_qs);
    m_folders->setObjectName(u"Dir1"_qs);
    m_folders->setAccessibleName(u"文件夹"_qs);
    m_folders->setModel(m_folderModel);
    for (int column = 1; column < m_folderModel->columnCount(); ++column)
        m_folders->hideColumn(column);
    m_folders->header()->hide();
    m_files->setObjectName(u"File1"_qs);
    m_files->setAccessibleName(u"文件"_qs);
    m_files->setToolTip(u"ctrl,shift为多选"_qs);
    m_files->setModel(m_fileModel);
    m_files->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_files->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_files->setUniformItemSizes(true);
    m_all->setObjectName(u"Check1"_qs);
    m_all->setAccessibleName(u"打开全部"_qs);
    m_append->setObjectName(u"Check2"_qs);
    m_append->setAccessibleName(u"追加文件"_qs);
    m_ok = makeButton(u"Image1"_qs, u"确定"_qs, Skin::Glyph::None, QSize(56, 24));

    auto *options = new QGroupBox(u"选项"_qs, this);
    options->setObjectName(u"Frame1"_qs);
    auto *optionRow = new QHBoxLayout(options);
    optionRow->addWidget(m_all);
    optionRow->addWidget(m_append);
    auto *left = new QVBoxLayout;
    left->addWidget(m_places);
    left->addWidget(m_folders, 1);
    auto *lists = new QHBoxLayout;
    lists->addLayout(left, 1);
    lists->addWidget(m_files, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(options, 1);
    bottom->addWidget(m_ok, 0, Qt::AlignBottom);
    body()->addLayout(lists, 1);
    body()->addLayout(bottom);

    fillPlaces();
    connect(
        m_places, &QComboBox::activated, this, [this](int index) { showFolder(m_places->itemData(index).toString()); });
    connect(m_folders, &QTreeView::clicked, this,
        [this](const QModelIndex &index) { showFolder(m_folderModel->filePath(index)); });
    connect(m_ok, &QAbstractButton::clicked, this, &ImportWindow::accept);
    showFolder(startFolder());
}

void ImportWindow::fillPlaces()
{
    m_places->addItem(u"主文件夹"_qs, QDir::homePath());
    const QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    if (QFileInfo(music).isDir() && music != QDir::homePath())
        m_places->addItem(u"音乐"_qs, music);
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        // Volumes that are not ready (an empty drive) are left out, as is the system's own plumbing.
        if (!volume.isValid() || !volume.isReady() || m_places->findData(volume.rootPath()) >= 0)
            continue;
        const QString root = volume.rootPath();
        if (root != u"/"_qs && !root.startsWith(u"/media/"_qs) && !root.startsWith(u"/mnt/"_qs)
            && !root.startsWith(u"/run/media/"_qs))
            continue;
        const QString name = volume.displayName();
        m_places->addItem(name.isEmpty() || name == root ? root : u"%1 (%2)"_qs.arg(name, root), root);
    }
}

void ImportWindow::showFolder(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isDir())
        return; // a place that cannot be read leaves the lists where they were
    m_folder = info.absoluteFilePath();
    m_fileModel->setStringList(playableFilesIn(m_folder));
    const QModelIndex index = m_folderModel->index(m_folder);
    if (index.isValid()) {
        for (QModelIndex above = index.parent(); above.isValid(); above = above.parent())
            m_folders->expand(above);
        m_folders->setCurrentIndex(index);
        m_folders->scrollTo(index);
    }
}

QStringList ImportWindow::listedFiles() const
{
    return m_fileModel->stringList();
}

void ImportWindow::accept()
{
    if (!m_ok->isEnabled())
        return;
    QList<int> rows;
    for (const QModelIndex &index : m_files->selectionModel()->selectedIndexes())
        rows.append(index.row());
    QStringList files = chosenImportFiles(listedFiles(), rows, m_all->isChecked());
    if (files.isEmpty())
        return;
    const QDir dir(m_folder);
    for (QString &name : files)
        name = dir.filePath(name);
    Q_EMIT importRequested({files, m_append->isChecked(), m_target});
}

void ImportWindow::setImportRunning(bool running)
{
    m_ok->setEnabled(!running);
}

void ImportWindow::importSucceeded()
{
    hide();
    showMessage(QMessageBox::NoIcon, u"打开文件成功."_qs);
}

void ImportWindow::importFailed(const QString &message)
{
    showMessage(QMessageBox::Critical, message);
}

} // namespace kivo
