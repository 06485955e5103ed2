#pragma once

#include "library/songrecord.h"

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

namespace kivo {

// What a song-list page shows; decides its columns and what its rows mean.
enum class SongPageKind { Catalogue, NowPlaying, Playlist, History, Downloads };

// One row: the cells in column order and what the row stands for.
struct SongListRow
{
    QStringList cells;
    SongRecord record; // song rows of catalogue, playlist and history pages
    int entry = -1; // now-playing and download rows: the entry number
    QStringList entryFields; // download rows: entry fields 1 to 3
    int icon = 10;
};

// The rows of one list view. Filled in one reset, so a page of 100,000 rows costs
// one layout pass.
class SongListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Role { RecordTextRole = Qt::UserRole + 1, EntryRole, IconRole };

    explicit SongListModel(SongPageKind kind = SongPageKind::Catalogue, QObject *parent = nullptr);

    SongPageKind pageKind() const { return m_kind; }
    // Changes the page kind (and so the columns) and empties the rows.
    void setPageKind(SongPageKind kind);

    // The download page while a download run goes on cannot be closed.
    bool downloading() const { return m_downloading; }
    void setDownloading(bool on) { m_downloading = on; }

    void setRows(QList<SongListRow> rows);
    void clearRows() { setRows({}); }
    void removeRowAt(int row);
    void setCell(int row, int column, const QString &text);
    const SongListRow &rowAt(int row) const { return m_rows.at(row); }
    const QList<SongListRow> &rows() const { return m_rows; }

    static QStringList columnTitles(SongPageKind kind);
    // Column widths in twips, as the pages are laid out.
    static QList<int> columnWidths(SongPageKind kind);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    SongPageKind m_kind;
    QStringList m_columns;
    QList<SongListRow> m_rows;
    bool m_downloading = false;
};

} // namespace kivo
