#pragma once

// A song made on the spot with ffmpeg for the playback benchmarks.

#include <QProcess>
#include <QString>
#include <QStringList>

inline QString makeBenchSong(const QString &dir, int seconds)
{
    const QString path = dir + QStringLiteral("/bench.mp3");
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
        {QStringLiteral("-nostdin"), QStringLiteral("-loglevel"), QStringLiteral("error"), QStringLiteral("-f"),
            QStringLiteral("lavfi"), QStringLiteral("-i"),
            QStringLiteral("sine=frequency=440:duration=%1").arg(seconds), QStringLiteral("-ac"), QStringLiteral("2"),
            QStringLiteral("-ar"), QStringLiteral("44100"), QStringLiteral("-b:a"), QStringLiteral("192k"),
            QStringLiteral("-y"), path});
    if (!ffmpeg.waitForFinished(60000) || ffmpeg.exitCode() != 0)
        return QString();
    return path;
}
