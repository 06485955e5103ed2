#include "online/ui/webmodule.h"

#include <QCoreApplication>
#include <QLibrary>

namespace kivo::WebModule {

QStringList searchPaths()
{
    const QString dir = QCoreApplication::applicationDirPath();
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

} // namespace kivo::WebModule
