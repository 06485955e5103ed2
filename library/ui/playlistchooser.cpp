#include "library/ui/playlistchooser.h"

#include "skin/skinbutton.h"
#include "skin/treeicons.h"
#include "skin/twips.h"

#include <QHBoxLayout>
#include <QListView>
#include <QStandardItemModel>
#include <QVBoxLayout>

namespace kivo {

namespace {
constexpr int kIdRole = Qt::UserRole + 1;
}

PlaylistChooser::PlaylistChooser(QWidget *owner)
    : SkinnedDialog(QStringLiteral("Form5"), QStringLiteral("选择播放列表"), owner)
    , m_model(new QStandardItemModel(this))
    , m_list(new QListView(this))
{
    resize(twipsToPixels(5130), twipsToPixels(3750));
    m_list->setObjectName(QStringLiteral("ListView1"));
    m_list->setAccessibleName(QStringLiteral("播放列表"));
    m_list->setModel(m_model);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(m_list, &QListView::doubleClicked, this, &PlaylistChooser::accept);

    m_ok = makeButton(QStringLiteral("Image1"), QStringLiteral("确定"), Skin::Glyph::None, QSize(56, 24));
    connect(m_ok, &QAbstractButton::clicked, this, &PlaylistChooser::accept);
    closeButton()->setAccessibleName(QStringLiteral("取消"));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    body()->addWidget(m_list, 1);
    body()->addLayout(buttons);
}

void PlaylistChooser::setPlaylists(const QList<PlaylistRow> &playlists)
{
    const std::optional<int> selected = selectedPlaylist();
    m_model->clear();
    for (const PlaylistRow &playlist : playlists) {
        auto *item = new QStandardItem(treeIcon(6), playlist.title);
        item->setData(playlist.id, kIdRole);
        item->setData(playlist.title, Qt::AccessibleTextRole);
        m_model->appendRow(item);
    }
    if (selected)
        selectPlaylist(*selected);
}

std::optional<int> PlaylistChooser::selectedPlaylist() const
{
    const QModelIndexList rows = m_list->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return std::nullopt;
    return rows.first().data(kIdRole).toInt();
}

void PlaylistChooser::selectPlaylist(int playlistId)
{
    for (int row = 0; row < m_model->rowCount(); ++row) {
        const QModelIndex index = m_model->index(row, 0);
        if (index.data(kIdRole).toInt() == playlistId) {
            m_list->setCurrentIndex(index);
            return;
        }
    }
}

void PlaylistChooser::accept()
{
    const std::optional<int> playlist = selectedPlaylist();
    if (!m_entry || !playlist)
        return;
    const PlaylistEntry entry = *m_entry;
    hide();
    Q_EMIT chosen(entry, *playlist);
}

} // namespace kivo
