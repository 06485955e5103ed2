#pragma once

#include <QString>

#include <functional>

namespace kivo {

// The choices of the download options dialog.
struct DownloadOptions
{
    QString root; // the download root; the files go to root/KivoDownload
    bool numberDuplicates = true; // "重名智能起名": Song_0.mp3, Song_1.mp3 … instead of overwriting
};

// The folder below the root that every download lands in.
QString downloadFolder(const QString &root);

// The user's Music folder, else the home folder.
QString defaultDownloadRoot();

// The extension of an address's path (not its query), "mp3" when it has none that
// is a plain short word.
QString downloadExtension(const QString &address);

// A title as a file name in one folder: separators and control characters become
// "_", a name of dots only (or none) becomes "_", and the name is cut (at a whole
// character) so that it stays within the file system's 255 bytes of UTF-8 together
// with `reservedBytes` of suffix.
QString safeFileStem(const QString &title, int reservedBytes);

using FileExists = std::function<bool(const QString &path)>;

// Where a download of `title` from `address` is written: folder/title.ext, or with
// numberDuplicates the first of folder/title_0.ext, title_1.ext … that is free.
// Always a file directly inside `folder`.
QString downloadFilePath(const QString &folder, const QString &title, const QString &address, bool numberDuplicates,
    const FileExists &exists);

} // namespace kivo
