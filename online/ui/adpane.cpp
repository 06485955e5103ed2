#include "online/ui/adpane.h"

#include <QVBoxLayout>

namespace kivo {

AdPane::AdPane(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(u"Webggt"_qs);
    setAccessibleName(u"资讯"_qs);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    hide();
}

void AdPane::load(const QUrl &url)
{
    m_url = url;
    if (m_pane)
        m_pane->navigate(url);
    else
        createPane();
}

void AdPane::setWebPaneFactory(WebPaneFactory *factory, const QString &allowedHost)
{
    if (m_factory || !factory)
        return;
    m_factory = factory;
    m_host = allowedHost;
    if (!m_url.isEmpty())
        createPane();
}

void AdPane::createPane()
{
    if (m_pane || !m_factory || m_url.isEmpty())
        return;
    m_pane = m_factory->createPane(this, m_host);
    if (!m_pane)
        return;
    layout()->addWidget(m_pane);
    // Shown once its page has loaded; it stays shown. A page that cannot be opened
    // shows nothing here.
    connect(m_pane, &WebPane::loadFinished, this, [this](bool ok) {
        if (ok)
            reveal();
    });
    connect(m_pane, &WebPane::linkRequested, this, &AdPane::linkRequested);
    connect(m_pane, &WebPane::newWindowRequested, this, &AdPane::newWindowRequested);
    m_pane->navigate(m_url);
}

void AdPane::reveal()
{
    if (isHidden())
        show();
}

} // namespace kivo
