#pragma once

#include <QString>
#include <QStringList>

namespace kivo {

// Which local files the player offers to import: the old filter "*.mp3;*.wmv;*.wma"
// and what the engine plays besides, by extension, in any case.
bool isPlayableLocalFile(const QString &fileName);

// The playable files directly in a folder, by name (as the import window lists them).
QStringList playableFilesIn(const QString &folder);

// Files and folders dropped on the player: each file that is playable, each folder's
// playable files at any depth; the whole sorted by path, without repeats.
QStringList collectPlayableFiles(const QStringList &paths);

} // namespace kivo
