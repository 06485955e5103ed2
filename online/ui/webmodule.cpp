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
// The engine reads the program-wide shared OpenGL context when it starts (its format,
// for its report), even when it draws without OpenGL, and stops on a null one. It
// never draws with it here: the context is made but not created, so no OpenGL
// driver is loaded for it.
void ensureGlobalShareContext()
{
    if (QOpenGLContext::globalShareContext() || !QCoreApplication::instance())
        return;
    qt_gl_set_global_share_context(new QOpenGLContext(QCoreApplication::instance()));
}

// Every pane shows a page of the one content server: one renderer process serves
// them all, instead of one per pane (each holds some 50 MB). The pages are plain:
// Chromium's software compositor and Qt Quick's software scene graph draw them.
// Without OpenGL integration on X the engine's start does not load the OpenGL
// driver either, which on a machine without a GPU is a JIT-compiled software
// renderer holding some 34 MB in the player. The second zygote, which starts the
// helpers that run outside the sandbox, has none to start (the network service and
// the GPU thread run in the player) and would idle at some 9 MB. Set before the
// engine starts, which reads them once; a user's own choice of integration is kept.
void prepareEngine()
{
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    for (const QByteArray &flag :
        {QByteArrayLiteral("--renderer-process-limit=1"), QByteArrayLiteral("--process-per-site"),
            QByteArrayLiteral("--disable-gpu"), QByteArrayLiteral("--no-unsandboxed-zygote")}) {
        if (!flags.contains(flag))
            flags += (flags.isEmpty() ? "" : " ") + flag;
    }
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
    qputenv("QT_QUICK_BACKEND", "software");
    if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"))
        qputenv("QT_XCB_GL_INTEGRATION", "none");
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
