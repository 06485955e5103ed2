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
    ~WebEnginePane() override;
    void navigate(const QUrl &url) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showFailure();

    // The view lives in a window of its own, set into the pane: where the view
    // composes its page through OpenGL, a plain child would make the player's whole
    // window compose through OpenGL on every small repaint elsewhere.
    QWidget *m_holder;
    QWidget *m_container = nullptr;
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
