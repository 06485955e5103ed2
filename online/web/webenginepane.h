#pragma once

#include "online/ui/webpane.h"

#include <QWebEnginePage>
#include <QWebEngineUrlRequestInterceptor>

class QLabel;
class QWebEngineView;

namespace kivo {

// Lets a page load only from the content server's host; everything else a server
// page asks for (other hosts' scripts, pictures, frames) is blocked.
class HostOnlyInterceptor : public QWebEngineUrlRequestInterceptor
{
    Q_OBJECT
public:
    HostOnlyInterceptor(const QString &allowedHost, QObject *parent);
    void interceptRequest(QWebEngineUrlRequestInfo &info) override;

private:
    QString m_host;
};

// A server page: "softfile:" links never navigate, they go to the player.
class ServerWebPage : public QWebEnginePage
{
    Q_OBJECT
public:
    using QWebEnginePage::QWebEnginePage;

Q_SIGNALS:
    void linkRequested(const QString &url);

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;
};

class WebEnginePane : public WebPane
{
    Q_OBJECT
public:
    WebEnginePane(QWidget *parent, const QString &allowedHost);
    void navigate(const QUrl &url) override;

private:
    void showFailure();

    QWebEngineView *m_view;
    QLabel *m_failure; // in place of the engine's own error page
};

} // namespace kivo

// The module's entry points, resolved by name after loading.
extern "C" {
// The factory of panes; lives as long as the program.
Q_DECL_EXPORT kivo::WebPaneFactory *kivoWebPaneFactory();
// Makes "softfile" a known URL scheme. Must run before the application object exists.
Q_DECL_EXPORT void kivoRegisterWebSchemes();
}
