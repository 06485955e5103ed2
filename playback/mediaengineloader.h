#pragma once

#include <QString>
#include <QStringList>

class QObject;

namespace kivo {

class MediaEngine;

// Loads the engine module (kivompv) at run time, after the first window shows, and
// creates the engine. Looks in moduleDir when given, else beside the program and in
// its ../lib folder. Returns nullptr (and says why in error) when it cannot.
MediaEngine *loadMediaEngine(
    QObject *parent, const QStringList &options = {}, const QString &moduleDir = {}, QString *error = nullptr);

} // namespace kivo
