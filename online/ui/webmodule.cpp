#include "online/ui/webmodule.h"

#include "core/logging.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>
#include <QOpenGLContext>

#include <unistd.h>

// Exported by Qt GUI: the context that every OpenGL context of the program shares
// with. WebEngine composites through it.
void qt_gl_set_global_share_context(QOpenGLContext *context);

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
    return {dir + u"/kivoweb"_qs, dir + u"/../lib/kivoweb"_qs, dir + u"/../lib/kivoplay/kivoweb"_qs,
        dir + u"/lib/kivoweb"_qs, u"kivoweb"_qs};
}

namespace {
// WebEngine needs the program-wide shared OpenGL context. Asking for it with
// AA_ShareOpenGLContexts before QApplication brings OpenGL up at start-up (about
// 200 ms on software GL, before the first window); made here, it costs that only
// when the web panes load, after the window shows.
void ensureGlobalShareContext()
{
    if (QOpenGLContext::globalShareContext() || !QCoreApplication::instance())
        return;
    auto *context = new QOpenGLContext(QCoreApplication::instance());
    if (!context->create()) {
        delete context;
        return;
    }
    qt_gl_set_global_share_context(context);
}
} // namespace

namespace {
// Every pane shows a page of the one content server: one renderer process serves
// them all, instead of one per pane (each holds some 50 MB). The pages are plain:
// Chromium's software compositor and Qt Quick's software scene graph draw them,
// so no OpenGL drawing (on a machine without a GPU a JIT-compiled software
// renderer) runs or holds memory in the player; the shared context above is still
// made, as the engine asks for it. Set before the engine starts, which reads them once.
void prepareEngine()
{
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    for (const QByteArray &flag : {QByteArrayLiteral("--renderer-process-limit=1"),
             QByteArrayLiteral("--process-per-site"), QByteArrayLiteral("--disable-gpu")}) {
        if (!flags.contains(flag))
            flags += (flags.isEmpty() ? "" : " ") + flag;
    }
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
    qputenv("QT_QUICK_BACKEND", "software");
}
} // namespace

WebPaneFactory *load()
{
    static WebPaneFactory *factory = []() -> WebPaneFactory * {
        prepareEngine();
        // The web engine's sandbox refuses to start for root; run without it there
        // rather than lose every web pane.
        if (::geteuid() == 0)
            qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        ensureGlobalShareContext();
        if (!QOpenGLContext::globalShareContext()) {
            // No OpenGL at all: web tabs keep their loading indicator.
            qCWarning(lcUi) << "web panes not loaded: no OpenGL context to share";
            return nullptr;
        }
        using Entry = WebPaneFactory *(*)();
        QString reason;
        for (const QString &path : searchPaths()) {
            // The library stays loaded for the life of the program.
            auto *lib = new QLibrary(path);
            if (lib->load()) {
                if (auto entry = reinterpret_cast<Entry>(lib->resolve("kivoWebPaneFactory")))
                    return entry();
            }
            reason = lib->errorString();
            delete lib;
        }
        qCWarning(lcUi).noquote() << "web panes not loaded:" << reason;
        return nullptr;
    }();
    return factory;
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
