#include "playback/mediaengineloader.h"

#include "core/logging.h"
#include "playback/mediaengine.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

using namespace Qt::Literals::StringLiterals;

namespace kivo {

MediaEngine *loadMediaEngine(QObject *parent, const QStringList &options, const QString &moduleDir, QString *error)
{
    QStringList dirs;
    if (!moduleDir.isEmpty()) {
        dirs << moduleDir;
    } else {
        const QString appDir = QCoreApplication::applicationDirPath();
        // The program folder, the build tree's lib/ beside it, and an installed tree's
        // lib/kivoplay/: found from the executable, so a moved tree finds its module.
        dirs << appDir << appDir + u"/../lib"_s << appDir + u"/../lib/kivoplay"_s;
    }
    QString reason = u"kivompv not found"_s;
    for (const QString &dir : std::as_const(dirs)) {
        const QString path = QDir(dir).filePath(u"libkivompv.so"_s);
        if (!QFileInfo::exists(path))
            continue;
        // Kept loaded for the program's lifetime: the engine's code lives in it.
        auto *library = new QLibrary(path);
        library->setLoadHints(QLibrary::ResolveAllSymbolsHint);
        auto factory = reinterpret_cast<MediaEngineFactory>(library->resolve(kMediaEngineFactorySymbol));
        if (!factory) {
            reason = library->errorString();
            delete library;
            continue;
        }
        if (MediaEngine *engine = factory(parent, options))
            return engine;
        reason = u"the media engine could not start"_s;
    }
    qCWarning(lcEngine).noquote() << "media engine not loaded:" << reason;
    if (error)
        *error = reason;
    return nullptr;
}

} // namespace kivo
