#pragma once

#include "online/ui/webpane.h"

#include <QPointer>
#include <QWidget>

namespace kivo {

// The small advertising pane `Webggt`: hidden until its page has loaded, then shown
// for good.
class AdPane : public QWidget
{
    Q_OBJECT
public:
    explicit AdPane(QWidget *parent = nullptr);

    // The page to show; it loads once a pane factory is there.
    void load(const QUrl &url);
    void setWebPaneFactory(WebPaneFactory *factory, const QString &allowedHost);
    WebPane *pane() const { return m_pane; }

private:
    void reveal();

    QPointer<WebPane> m_pane;
    QUrl m_url;
};

} // namespace kivo
