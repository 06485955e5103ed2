#pragma once

#include "core/songrow.h"

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

namespace kivo {

// One row: the cells in column order and what the row stands for.
struct SongListRow
{
    QStringList cells;
    SongRowData data;
    int icon = 10;

    // Song rows of catalogue, playlist and history pages; null for the others.
    const SongRecord *record() const { return std::get_if<SongRecord>(&data); }
};

// The rows of one list view. Filled in one reset; a long page then grows by parts
// appended at its end.
class SongListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Role { IconRole = Qt::UserRole + 1 };

    explicit SongListModel(SongPageKind kind = SongPageKind::Catalogue, QObject *parent = nullptr);

    SongPageKind pageKind() const { return m_kind; }
    // Changes the page kind (and so the columns) and empties the rows.
    void setPageKind(SongPageKind kind);

    // The download page while a download run goes on cannot be closed.
    bool downloading() const { return m_downloading; }
    void setDownloading(bool on) { m_downloading = on; }

    void setRows(QList<SongListRow> rows);
    // Adds rows at the end: the later parts of a page filled with setRows.
    void appendRows(QList<SongListRow> rows);
    // Counts every filling and emptying (setRows, setPageKind): parts read for an
    // earlier filling compare it and go unused.
    quint64 filling() const { return m_filling; }
    void clearRows() { setRows({}); }
    void removeRowAt(int row);
    void setCell(int row, int column, const QString &text);
    const SongListRow &rowAt(int row) const { return m_rows.at(row); }
    // The row as the row menu and the queue operations read it; nothing outside the rows.
    std::optional<SongRowRef> songRow(int view, int row) const;
    // Replaces what a row stands for (its cells stay).
    void setRowData(int row, SongRowData data);
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
    quint64 m_filling = 0;
};

} // namespace kivo
