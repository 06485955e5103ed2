#pragma once

#include <QString>

namespace kivo {

// Where the player keeps its library. A program folder whose data/ folder is
// writable keeps data/kx.dat there, as a portable program folder does; otherwise
// (an installed player) the library lives in the user's data folder, seeded once
// from the empty library shipped with the program.
struct LibraryLocation
{
    QString path; // the library file to open
    QString error; // why the user's library could not be seeded; empty when fine

    // programDir: the executable's folder; userDataDir: the per-user data folder.
    static LibraryLocation find(const QString &programDir, const QString &userDataDir);
    // The empty library shipped with the program: data/kx.dat beside it, else
    // ../share/kivoplay/kx.dat; empty when there is none.
    static QString shippedLibrary(const QString &programDir);
};

} // namespace kivo
