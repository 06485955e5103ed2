#pragma once

#include <QUrl>
#include <QWidget>

namespace kivo {

// A browser pane showing one server page. The WebEngine implementation lives in the
// kivoweb module, loaded after the main window shows; without it web tabs keep their
// loading indicator.
class WebPane : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;
    virtual void navigate(const QUrl &url) = 0;

    // The one quiet line a page that cannot be opened leaves on the pane's blank, in
    // the skin's colours; empty (the small panes) leaves the blank alone.
    void setFailureText(const QString &text) { m_failureText = text; }
    QString failureText() const { return m_failureText; }

Q_SIGNALS:
    void loadProgress(int percent);
    // The whole page has arrived (the pane shows it only after this).
    void loadFinished(bool ok);
    // A "softfile:" link (or any other navigation) the pane refused; the decision is the caller's.
    void linkRequested(const QString &url);
    // The page wanted a new window; a tab opens instead.
    void newWindowRequested(const QUrl &url);

private:
    QString m_failureText;
};

// Makes panes. `allowedHost` is the only host a pane's page may load anything from.
class WebPaneFactory
{
public:
    virtual ~WebPaneFactory() = default;
    virtual WebPane *createPane(QWidget *parent, const QString &allowedHost) = 0;
};

} // namespace kivo
