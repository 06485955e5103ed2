#include "downloads/ui/downloadoptionsdialog.h"

#include "skin/skin.h"
#include "skin/skinbutton.h"
#include "skin/windowdrag.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QStorageInfo>
#include <QTreeView>
#include <QVBoxLayout>

namespace kivo {

DownloadOptionsDialog::DownloadOptionsDialog(const DownloadOptions &options, QWidget *owner)
    : QWidget(owner, Qt::Window | Qt::FramelessWindowHint)
    , m_options(options)
{
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("下载选项设置"));
    setAttribute(Qt::WA_TranslucentBackground);
    resize(380, 360);

    m_title = new QLabel(QStringLiteral("下载选项设置"), this);
    m_title->setObjectName(QStringLiteral("Label1"));
    QFont titleFont = m_title->font();
    titleFont.setBold(true);
    m_title->setFont(titleFont);
    WindowDrag::install(m_title);

    m_close = new SkinButton(QStringLiteral("关闭"), this);
    m_close->setObjectName(QStringLiteral("Image2"));
    m_close->setFixedSize(22, 18);
    m_close->setGlyph(Skin::Glyph::Close);
    connect(m_close, &SkinButton::clicked, this, &QWidget::hide);

    auto *frame = new QGroupBox(QStringLiteral("目录"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    m_drives = new QComboBox(frame);
    m_drives->setObjectName(QStringLiteral("Drive1"));
    m_drives->setAccessibleName(QStringLiteral("驱动器"));
    m_model = new QFileSystemModel(this);
    m_model->setFilter(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_folders = new QTreeView(frame);
    m_folders->setObjectName(QStringLiteral("Dir1"));
    m_folders->setAccessibleName(QStringLiteral("文件夹"));
    m_folders->setModel(m_model);
    for (int column = 1; column < m_model->columnCount(); ++column)
        m_folders->hideColumn(column); // the folder names only
    m_folders->header()->hide();
    m_path = new QLabel(frame);
    m_path->setObjectName(QStringLiteral("Label2"));
    m_path->setTextFormat(Qt::PlainText);
    m_path->setWordWrap(true);
    auto *frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(m_drives);
    frameLayout->addWidget(m_folders, 1);
    frameLayout->addWidget(m_path);

    m_numberNames = new QCheckBox(QStringLiteral("重名智能起名"), this);
    m_numberNames->setObjectName(QStringLiteral("Check1"));
    m_numberNames->setChecked(m_options.numberDuplicates);
    connect(m_numberNames, &QCheckBox::toggled, this, [this](bool on) {
        m_options.numberDuplicates = on;
        Q_EMIT optionsChanged(m_options);
    });

    m_ok = new SkinButton(QStringLiteral("确定"), this);
    m_ok->setObjectName(QStringLiteral("Image1"));
    m_ok->setFixedSize(56, 24);
    m_ok->setImages(Skin::buttonPlate(m_ok->size(), false, false, devicePixelRatioF()),
        Skin::buttonPlate(m_ok->size(), true, false, devicePixelRatioF()));
    m_ok->setText(QStringLiteral("确定"));
    connect(m_ok, &SkinButton::clicked, this, &QWidget::hide);

    auto *titleRow = new QHBoxLayout;
    titleRow->addWidget(m_title, 1);
    titleRow->addWidget(m_close);
    auto *bottomRow = new QHBoxLayout;
    bottomRow->addWidget(m_numberNames, 1);
    bottomRow->addWidget(m_ok);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 8, 14, 14);
    layout->addLayout(titleRow);
    layout->addWidget(frame, 1);
    layout->addLayout(bottomRow);

    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, Skin::kText);
    palette.setColor(QPalette::ButtonText, Skin::kText);
    palette.setColor(QPalette::Base, QColor(0x12, 0x15, 0x1a));
    palette.setColor(QPalette::Text, Skin::kText);
    setPalette(palette);

    fillDrives();
    connect(m_drives, &QComboBox::activated, this, [this](int index) {
        const QString root = m_drives->itemData(index).toString();
        showDrive(root);
        setRoot(root); // another drive: the folder list starts at its root
    });
    connect(
        m_folders, &QTreeView::clicked, this, [this](const QModelIndex &index) { setRoot(m_model->filePath(index)); });
    chooseFolder(m_options.root);
}

void DownloadOptionsDialog::fillDrives()
{
    QStringList roots {QStringLiteral("/")};
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady() && !volume.isReadOnly() && !roots.contains(volume.rootPath()))
            roots.append(volume.rootPath());
    }
    roots.sort();
    for (const QString &root : std::as_const(roots))
        m_drives->addItem(root, root);
}

void DownloadOptionsDialog::showDrive(const QString &rootPath)
{
    m_drives->setCurrentIndex(std::max(0, m_drives->findData(rootPath)));
    m_folders->setRootIndex(m_model->setRootPath(rootPath));
}

void DownloadOptionsDialog::chooseFolder(const QString &path)
{
    const QString folder = QDir(path).absolutePath();
    QString drive = QStorageInfo(folder).rootPath();
    if (m_drives->findData(drive) < 0)
        drive = QStringLiteral("/");
    showDrive(drive);
    setRoot(folder);
    showChosenFolder();
}

void DownloadOptionsDialog::showChosenFolder()
{
    const QModelIndex index = m_model->index(m_options.root);
    if (!index.isValid())
        return;
    bool shown = index == m_folders->currentIndex();
    for (QModelIndex above = index.parent(); above.isValid(); above = above.parent()) {
        shown = shown && m_folders->isExpanded(above);
        m_folders->expand(above);
    }
    if (shown)
        return; // already in sight: browsing elsewhere is left alone
    m_folders->setCurrentIndex(index);
    m_folders->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void DownloadOptionsDialog::setRoot(const QString &path)
{
    m_path->setText(path);
    if (path == m_options.root)
        return;
    m_options.root = path;
    Q_EMIT optionsChanged(m_options);
}

void DownloadOptionsDialog::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Once laid out, the chosen folder is scrolled into sight.
    QMetaObject::invokeMethod(
        m_folders, [this] { m_folders->scrollTo(m_folders->currentIndex(), QAbstractItemView::PositionAtCenter); },
        Qt::QueuedConnection);
}

void DownloadOptionsDialog::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    Skin::paintPanel(painter, rect(), 10);
}

} // namespace kivo
