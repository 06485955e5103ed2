#include "online/ui/webmodule.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>

namespace kivo::WebModule {

namespace {
// The program's folder, also before the application object exists.
QString programDir()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QFileInfo(QFileInfo(u"/proc/self/exe"_qs).symLinkTarget()).absolutePath();
}
} // namespace

QStringList searchPaths()
{
    const QString dir = programDir();
    return {dir + u"/kivoweb"_qs, dir + u"/../lib/kivoweb"_qs, dir + u"/lib/kivoweb"_qs, u"kivoweb"_qs};
}

WebPaneFactory *load()
{
    static WebPaneFactory *factory = []() -> WebPaneFactory * {
        using Entry = WebPaneFactory *(*)();
        for (const QString &path : searchPaths()) {
            // The library stays loaded for the life of the program.
            auto *lib = new QLibrary(path);
            if (lib->load()) {
                if (auto entry = reinterpret_cast<Entry>(lib->resolve("kivoWebPaneFactory")))
                    return entry();
            }
            delete lib;
        }
        return nullptr;
    }();
    return factory;
}

void setUpBeforeApplication()
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

bool registerSchemesBeforeApplication()
{
    for (const QString &path : searchPaths()) {
        QLibrary lib(path);
        if (!lib.load())
            continue;
        // The library stays loaded: QLibrary unloads only when asked to.
        if (auto registerSchemes = reinterpret_cast<void (*)()>(lib.resolve("kivoRegisterWebSchemes"))) {
            registerSchemes();
            return true;
        }
    }
    return false;
}

} // namespace kivo::WebModule
