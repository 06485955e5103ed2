#pragma once

#include "community/userpreferences.h"
#include "library/storedsettings.h"
#include "shell/versioncheck.h"

#include <QDateTime>
#include <QString>

namespace kivo {

// Program-wide values set at start-up and read by the other subsystems.
struct ProgramState
{
    QString serverBaseUrl;
    QString downloadPageUrl;
    QString currentVersion = kCurrentVersion;
    QString publishedVersion = kCurrentVersion;
    qint16 maxQueuedDownloads = 30;
    qint16 dailyDownloadLimit = 200;
    qint32 dailyDownloadCount = 0;
    QDateTime serverDate = QDateTime::currentDateTime();
    StoredSettings settings; // the six stored settings, defaults until config is read
    UserPreferences preferences {QString()}; // kept outside the library; this run's only unless loaded
};

} // namespace kivo
