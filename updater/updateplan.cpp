#include "updater/updateplan.h"

#include <QSettings>

namespace kivo {

UpdatePlan UpdatePlan::forProgramDir(const QString &programDir)
{
    QSettings ini(programDir + u"/kivoplay.ini"_qs, QSettings::IniFormat);
    QString server = ini.value(u"install/UpdateServerUrl"_qs).toString().trimmed();
    while (server.endsWith(u'/'))
        server.chop(1);
    UpdatePlan plan;
    plan.address = server + u"/download/code/kivoplay.exe"_qs;
    plan.targetPath = programDir + u"/kivoplay"_qs;
    plan.newPath = plan.targetPath + u".new"_qs;
    plan.backupPath = plan.targetPath + u".bak"_qs;
    return plan;
}

} // namespace kivo
