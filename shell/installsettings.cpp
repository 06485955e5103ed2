#include "shell/installsettings.h"

#include <QSettings>

namespace kivo {

QString InstallSettings::iniPath(const QString &programDir)
{
    return programDir + u"/kivoplay.ini"_qs;
}

InstallSettings InstallSettings::load(const QString &programDir)
{
    QSettings ini(iniPath(programDir), QSettings::IniFormat);
    ini.beginGroup(u"install"_qs);
    InstallSettings s;
    s.serverBaseUrl = ini.value(u"ServerBaseUrl"_qs).toString().trimmed();
    s.downloadPageUrl = ini.value(u"DownloadPageUrl"_qs).toString().trimmed();
    s.updateServerUrl = ini.value(u"UpdateServerUrl"_qs).toString().trimmed();
    if (!s.serverBaseUrl.isEmpty() && !s.serverBaseUrl.endsWith(QLatin1Char('/')))
        s.serverBaseUrl += QLatin1Char('/');
    return s;
}

} // namespace kivo
