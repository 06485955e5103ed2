#include "support/programfolder.h"

#include "support/testpaths.h"

#include <csignal>
#include <sys/prctl.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kivo::test {

ProgramFolder::ProgramFolder(const QString &serverBaseUrl, bool withLibrary)
{
    if (!m_dir.isValid())
        return;
    const QString bin = programDir();
    if (!QFile::copy(bin + u"/kivoplay"_qs, path() + u"/kivoplay"_qs))
        return;
    QFile ini(path() + u"/kivoplay.ini"_qs);
    if (!ini.open(QIODevice::WriteOnly))
        return;
    ini.write("[install]\nServerBaseUrl=" + serverBaseUrl.toUtf8() + "\nDownloadPageUrl=" + serverBaseUrl.toUtf8()
        + "down.asp\nUpdateServerUrl=" + serverBaseUrl.toUtf8() + "\n");
    ini.close();
    QDir().mkpath(path() + u"/data"_qs);
    if (withLibrary) {
        const QString mkdb = toolsDir() + u"/kivo-mkdb"_qs;
        if (QFileInfo(mkdb).isExecutable()) {
            if (QProcess::execute(mkdb, {dataFile()}) != 0)
                return;
        } else {
            QFile empty(dataFile());
            if (!empty.open(QIODevice::WriteOnly))
                return;
        }
    }
    m_valid = true;
}

void ProgramFolder::addFakeUpdater()
{
    QFile script(path() + u"/update"_qs);
    if (!script.open(QIODevice::WriteOnly))
        return;
    script.write("#!/bin/sh\ntouch \"$(dirname \"$0\")/update-started\"\n");
    script.close();
    script.setPermissions(script.permissions() | QFile::ExeOwner | QFile::ExeUser);
}

bool ProgramFolder::updaterWasStarted() const
{
    return QFileInfo::exists(path() + u"/update-started"_qs);
}

void ProgramFolder::startPlayer(QProcess &process, const QString &platform, const QStringList &arguments) const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"QT_QPA_PLATFORM"_qs, platform);
    if (platform == u"offscreen"_qs)
        env.remove(u"DISPLAY"_qs);
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(path());
    process.setProgram(path() + u"/kivoplay"_qs);
    process.setArguments(arguments);
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); }); // never outlives its test
    process.start();
}

} // namespace kivo::test
