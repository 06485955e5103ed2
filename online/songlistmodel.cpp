#include "online/songlistmodel.h"

namespace kivo {

SongListModel::SongListModel(SongPageKind kind, QObject *parent)
    : QAbstractTableModel(parent)
    , m_kind(kind)
    , m_columns(columnTitles(kind))
{ }

QStringList SongListModel::columnTitles(SongPageKind kind)
{
    switch (kind) {
    case SongPageKind::Catalogue:
        return {u"歌曲名称"_qs, u"类型"_qs, u"人气"_qs, u"添加时间"_qs};
    case SongPageKind::NowPlaying:
        return {u"歌曲名称"_qs, u"类型"_qs};
    case SongPageKind::Playlist:
        return {u"歌曲名称"_qs, u"添加时间"_qs};
    case SongPageKind::History:
        return {u"歌曲名称"_qs, u"记录时间"_qs};
    case SongPageKind::Downloads:
        return {u"歌曲名称"_qs, u"文件大小"_qs, u"已下载"_qs, u"百分比"_qs};
    }
    return {};
}

QList<int> SongListModel::columnWidths(SongPageKind kind)
{
    switch (kind) {
    case SongPageKind::Catalogue:
        return {4100, 1000, 900, 1800};
    case SongPageKind::NowPlaying:
        return {4900, 1000};
    case SongPageKind::Playlist:
    case SongPageKind::History:
        return {4100, 1800};
    case SongPageKind::Downloads:
        return {3100, 1300, 900, 800};
    }
    return {};
}

void SongListModel::setPageKind(SongPageKind kind)
{
    beginResetModel();
    m_kind = kind;
    m_columns = columnTitles(kind);
    m_rows.clear();
    ++m_filling;
    endResetModel();
}

void SongListModel::setRows(QList<SongListRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    ++m_filling;
    endResetModel();
}

void SongListModel::appendRows(QList<SongListRow> rows)
{
    if (rows.isEmpty())
        return;
    const int first = int(m_rows.size());
    beginInsertRows({}, first, first + int(rows.size()) - 1);
    m_rows.append(std::move(rows));
    endInsertRows();
}

void SongListModel::removeRowAt(int row)
{
    if (row < 0 || row >= m_rows.size())
        return;
    beginRemoveRows({}, row, row);
    m_rows.removeAt(row);
    endRemoveRows();
}

void SongListModel::setCell(int row, int column, const QString &text)
{
    if (row < 0 || row >= m_rows.size() || column < 0 || column >= m_columns.size())
        return;
    QStringList &cells = m_rows[row].cells;
    while (cells.size() <= column)
        cells.append(QString());
    cells[column] = text;
    const QModelIndex i = index(row, column);
    Q_EMIT dataChanged(i, i, {Qt::DisplayRole});
}

std::optional<SongRowRef> SongListModel::songRow(int view, int row) const
{
    if (row < 0 || row >= m_rows.size())
        return std::nullopt;
    const SongListRow &r = m_rows.at(row);
    return SongRowRef {m_kind, view, row, r.cells.value(0), r.data, m_downloading};
}

void SongListModel::setRowData(int row, SongRowData data)
{
    if (row < 0 || row >= m_rows.size())
        return;
    m_rows[row].data = std::move(data);
}

int SongListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int SongListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant SongListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.model() != this || index.row() >= m_rows.size())
        return {};
    const SongListRow &row = m_rows.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return index.column() < row.cells.size() ? row.cells.at(index.column()) : QString();
    case IconRole:
        return row.icon;
    default:
        return {};
    }
}

QVariant SongListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size())
        return {};
    if (role == Qt::DisplayRole)
        return m_columns.at(section);
    return {};
}

} // namespace kivo
