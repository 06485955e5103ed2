#pragma once

#include <QString>

namespace kivo {

// The installation settings in kivoplay.ini beside the executable, section [install].
// Nothing else (no options, no environment) changes where the programs connect.
struct InstallSettings
{
    QString serverBaseUrl; // ends with "/"
    QString downloadPageUrl; // the new-version download page
    QString updateServerUrl; // host of "/download/code/kivoplay.exe"

    static QString iniPath(const QString &programDir);
    // Missing keys stay empty; the base URL gains its trailing "/".
    static InstallSettings load(const QString &programDir);
};

} // namespace kivo
