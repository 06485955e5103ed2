#pragma once

#include <QString>

namespace kivo {

// Where the update comes from and the files it touches, all in the program folder.
struct UpdatePlan
{
    QString address; // UpdateServerUrl + "/download/code/kivoplay.exe"
    QString targetPath; // the player: <folder>/kivoplay
    QString newPath; // the download, beside it: <folder>/kivoplay.new
    QString backupPath; // the player before the update: <folder>/kivoplay.bak

    // Reads UpdateServerUrl from kivoplay.ini in the folder, section [install].
    static UpdatePlan forProgramDir(const QString &programDir);
};

} // namespace kivo
