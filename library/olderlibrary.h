#pragma once

#include <QString>

namespace kivo::OlderLibrary {

// A library kept in the Access file format of older players: empty when the file
// is not one, else the reason it cannot be opened, naming the format and how to
// convert it. Only the file's header is read.
QString accessFormatReason(const QString &path);

// Copies the file (and its write-ahead log, when there is one) to "<path>.bak", or
// to "<path>.bak.1", ".2" … when that name is taken; an earlier backup is never
// replaced. Through a ".part" name, so that a cut-off copy never passes for a
// backup. Gives the backup's path, or empty with *error set.
QString backUp(const QString &path, QString *error);

} // namespace kivo::OlderLibrary
