#pragma once

#include "library/libraryoperations.h"
#include "skin/skinneddialog.h"

#include <optional>

class QListView;
class QStandardItemModel;

namespace kivo {

// The playlist chooser `Form5`: the playlists, OK (`Image1`) and cancel (`Image2`,
// which hides it). Modeless and owned by the main window; it carries the pending
// entry until OK or cancel.
class PlaylistChooser : public SkinnedDialog
{
    Q_OBJECT
public:
    explicit PlaylistChooser(QWidget *owner);

    void setEntry(const PlaylistEntry &entry) { m_entry = entry; }
    const std::optional<PlaylistEntry> &entry() const { return m_entry; }
    // Lists the playlists anew; the selected one stays selected while it exists.
    void setPlaylists(const QList<PlaylistRow> &playlists);
    std::optional<int> selectedPlaylist() const;
    void selectPlaylist(int playlistId);

    QListView *list() const { return m_list; }
    SkinButton *okButton() const { return m_ok; }

Q_SIGNALS:
    void chosen(const kivo::PlaylistEntry &entry, int playlistId);

private:
    void accept();

    std::optional<PlaylistEntry> m_entry;
    QStandardItemModel *m_model;
    QListView *m_list;
    SkinButton *m_ok;
};

} // namespace kivo
