#pragma once

#include <QStringList>

namespace kivo {

// One song queued for download.
struct DownloadTask
{
    QString title; // as the list it was queued from shows it; becomes the file name
    QString locator; // the file's address; empty when there is none
    QString searchText; // what the address lookup searches for without a locator
    QString lyricsId; // the server's music id for the song's lyrics; empty when none

    // The fields a row of the download page carries: title, locator, search text,
    // and the lyrics id when there is one.
    QStringList pageFields() const
    {
        QStringList f {title, locator, searchText};
        if (!lyricsId.isEmpty())
            f.append(lyricsId);
        return f;
    }

    bool operator==(const DownloadTask &) const = default;
};

} // namespace kivo
