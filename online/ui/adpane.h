#pragma once

#include "online/ui/webpane.h"

#include <QPointer>
#include <QWidget>

namespace kivo {

// The small advertising panes `Webggt` and `Webgg`: hidden until the page has loaded,
// then shown for good. Links and new windows of their pages go to the owner, which
// opens them as web tabs like those of any other server page.
class AdPane : public QWidget
{
    Q_OBJECT
public:
    explicit AdPane(QWidget *parent = nullptr);

    // The page to show; it loads once a pane factory is there.
    void load(const QUrl &url);
    void setWebPaneFactory(WebPaneFactory *factory, const QString &allowedHost);
    WebPane *pane() const { return m_pane; }

Q_SIGNALS:
    void linkRequested(const QString &url);
    void newWindowRequested(const QUrl &url);

private:
    void createPane();
    void reveal();

    QPointer<WebPane> m_pane;
    QUrl m_url;
    // The view is made when the first page is asked for: until then no web
    // engine process works for it.
    WebPaneFactory *m_factory = nullptr;
    QString m_host;
};

} // namespace kivo
