#include "playback/nowplayingmodel.h"

#include "playback/playqueue.h"

namespace kivo {

NowPlayingModel::NowPlayingModel(PlayQueue *queue, QObject *parent)
    : QAbstractListModel(parent)
    , m_queue(queue)
{
    connect(queue, &PlayQueue::changed, this, &NowPlayingModel::rebuild);
    rebuild();
}

void NowPlayingModel::rebuild()
{
    beginResetModel();
    m_rows.clear();
    for (int i = 0; i <= m_queue->highest(); ++i) {
        if (!m_queue->at(i).title.isEmpty())
            m_rows.append(i);
    }
    endResetModel();
}

int NowPlayingModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int NowPlayingModel::entryIndexOf(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows.at(row) : -1;
}

QVariant NowPlayingModel::data(const QModelIndex &index, int role) const
{
    const int entry = index.isValid() ? entryIndexOf(index.row()) : -1;
    if (entry < 0 || !m_queue->contains(entry))
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return m_queue->at(entry).title;
    case EntryIndexRole:
        return entry;
    case TagRole:
        return QString::number(entry);
    default:
        return {};
    }
}

QHash<int, QByteArray> NowPlayingModel::roleNames() const
{
    return {{Qt::DisplayRole, "title"}, {EntryIndexRole, "entryIndex"}, {TagRole, "tag"}};
}

} // namespace kivo
