#include "online/web/webenginepane.h"

#include "core/logging.h"
#include "skin/skin.h"

#include <QEvent>
#include <QLabel>
#include <QVBoxLayout>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>
#include <QWebEngineView>

namespace kivo {

HostOnlyInterceptor::HostOnlyInterceptor(const QString &allowedHost, QObject *parent)
    : QWebEngineUrlRequestInterceptor(parent)
    , m_host(allowedHost.toLower())
{ }

void HostOnlyInterceptor::interceptRequest(QWebEngineUrlRequestInfo &info)
{
    const QUrl url = info.requestUrl();
    const QString scheme = url.scheme().toLower();
    // Pages built in memory (data:, about:) carry nothing from the network.
    if (scheme != u"http"_qs && scheme != u"https"_qs && scheme != u"ws"_qs && scheme != u"wss"_qs
        && scheme != u"ftp"_qs)
        return;
    if (url.host().toLower() != m_host)
        info.block(true);
}

bool ServerWebPage::acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame)
{
    const QString text = url.toString();
    if (text.contains(u"softfile:"_qs, Qt::CaseInsensitive)) {
        Q_EMIT linkRequested(text);
        return false;
    }
    return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
}

namespace {
// "softfile" addresses must have a handler, or the engine drops the navigation before
// the page sees it. Navigations are cancelled by the page; anything else asking for
// such an address (a picture, a frame) gets nothing.
class RefusingSchemeHandler : public QWebEngineUrlSchemeHandler
{
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;
    void requestStarted(QWebEngineUrlRequestJob *job) override { job->fail(QWebEngineUrlRequestJob::RequestDenied); }
};

void ensureSchemeHandler(QWebEngineProfile *profile)
{
    if (!profile->urlSchemeHandler("softfile"))
        profile->installUrlSchemeHandler("softfile", new RefusingSchemeHandler(profile));
}
} // namespace

WebEnginePane::WebEnginePane(QWidget *parent, const QString &allowedHost)
    : WebPane(parent)
    , m_holder(new QWidget(nullptr, Qt::FramelessWindowHint))
    , m_view(new QWebEngineView(m_holder))
    , m_failure(new QLabel(this))
{
    auto *holderLayout = new QVBoxLayout(m_holder);
    holderLayout->setContentsMargins(0, 0, 0, 0);
    holderLayout->addWidget(m_view);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_failure);
    // A page that cannot be opened leaves a blank in the skin's colours, never the
    // engine's own (English, white) error page.
    m_failure->setObjectName(u"pageFailure"_qs);
    m_failure->setAlignment(Qt::AlignCenter);
    m_failure->setTextFormat(Qt::PlainText);
    m_failure->setAutoFillBackground(true);
    QPalette palette = m_failure->palette();
    palette.setColor(QPalette::Window, Skin::kInset);
    palette.setColor(QPalette::WindowText, Skin::kDimText);
    m_failure->setPalette(palette);
    m_failure->hide();
    auto *page = new ServerWebPage(m_view);
    ensureSchemeHandler(page->profile());
    page->setUrlRequestInterceptor(new HostOnlyInterceptor(allowedHost, page));
    page->settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    // Server pages without colours of their own are written for a white page: on the
    // skin's dark grey their black text would not read.
    page->setBackgroundColor(Qt::white);
    m_view->setPage(page);
    m_view->setAccessibleName(u"网页"_qs);
    connect(page, &ServerWebPage::linkRequested, this, &WebPane::linkRequested);
    connect(page, &QWebEnginePage::loadProgress, this, &WebPane::loadProgress);
    connect(page, &QWebEnginePage::loadFinished, this, [this](bool ok) {
        if (!ok)
            showFailure();
        Q_EMIT loadFinished(ok);
    });
    // Pages that want a new window get a tab instead; the request itself is dropped.
    connect(page, &QWebEnginePage::newWindowRequested, this,
        [this](QWebEngineNewWindowRequest &request) { Q_EMIT newWindowRequested(request.requestedUrl()); });
}

WebEnginePane::~WebEnginePane()
{
    // The holder's window goes with the holder, before the container would take it.
    delete m_holder;
}

void WebEnginePane::navigate(const QUrl &url)
{
    m_failure->hide();
    m_view->setUrl(url);
    if (!m_container) {
        // Made once the view holds its page: a window decides when it is made whether
        // it composes through OpenGL, as this one must where the view does.
        m_holder->winId();
        m_container = QWidget::createWindowContainer(m_holder->windowHandle(), this);
        m_container->setAccessibleName(u"网页"_qs);
        static_cast<QVBoxLayout *>(layout())->insertWidget(0, m_container);
        m_container->installEventFilter(this);
        m_holder->resize(m_container->size());
        m_holder->show();
    }
    m_container->show();
}

bool WebEnginePane::eventFilter(QObject *watched, QEvent *event)
{
    // The held window takes the container's size; its widget must follow.
    if (watched == m_container && event->type() == QEvent::Resize)
        m_holder->resize(m_container->size());
    return WebPane::eventFilter(watched, event);
}

void WebEnginePane::showFailure()
{
    qCWarning(lcUi).noquote() << "page not opened:" << m_view->url().toString();
    m_failure->setText(failureText());
    m_failure->setAccessibleName(failureText());
    if (m_container)
        m_container->hide();
    m_failure->show();
}

namespace {
class WebEnginePaneFactory : public WebPaneFactory
{
public:
    WebPane *createPane(QWidget *parent, const QString &allowedHost) override
    {
        return new WebEnginePane(parent, allowedHost);
    }
};
} // namespace

} // namespace kivo

kivo::WebPaneFactory *kivoWebPaneFactory()
{
    static kivo::WebEnginePaneFactory factory;
    return &factory;
}

void kivoRegisterWebSchemes()
{
    QWebEngineUrlScheme scheme("softfile");
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    QWebEngineUrlScheme::registerScheme(scheme);
}
