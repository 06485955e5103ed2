#pragma once

#include <QAbstractListModel>

namespace kivo {

class PlayQueue;

// The rows of the now-playing page: the queue's entries that have a title, in queue
// order. Each row's tag is its entry number.
class NowPlayingModel : public QAbstractListModel
{
    Q_OBJECT
public:
    enum Role { EntryIndexRole = Qt::UserRole + 1, TagRole };

    explicit NowPlayingModel(PlayQueue *queue, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

    // Entry number of a row, -1 outside.
    int entryIndexOf(int row) const;

private:
    void rebuild();

    PlayQueue *m_queue;
    QList<int> m_rows;
};

} // namespace kivo
