#include "app/WebViewPage.h"

#include "app/Texts.h"
#include "platform/Error.h"

#include <QLayout>
#include <QUrl>
#include <QVBoxLayout>
#include <QVariant>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QWidget>

namespace tavrisk::app {

std::string PageTextFromBrowser(const QString& text) {
    QString crlf = text;
    crlf.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    crlf.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return Gbk(crlf);
}

WebViewPage::WebViewPage(QWidget* host, QObject* parent) : QObject(parent), host_(host) {
    refresh_.setInterval(kRefreshMs);
    connect(&refresh_, &QTimer::timeout, this, &WebViewPage::RequestSnapshot);
}

WebViewPage::~WebViewPage() {
    // A view of its own goes with this object; one inside the host goes with
    // the host.
    if (ownsView_) {
        delete view_;
    }
}

void WebViewPage::EnsureView() {
    if (view_) {
        return;
    }
    if (host_) {
        view_ = new QWebEngineView(host_);
        QLayout* layout = host_->layout();
        if (layout == nullptr) {
            layout = new QVBoxLayout(host_);
            layout->setContentsMargins(0, 0, 0, 0);
        }
        layout->addWidget(view_);
        view_->show();
    } else {
        view_ = new QWebEngineView();
        ownsView_ = true;
        view_->resize(1024, 768);
        view_->show();
    }
    connect(view_, &QWebEngineView::loadProgress, this, &WebViewPage::RequestSnapshot);
    connect(view_, &QWebEngineView::loadFinished, this, &WebViewPage::RequestSnapshot);
    connect(view_, &QWebEngineView::urlChanged, this, &WebViewPage::RequestSnapshot);
    refresh_.start();
}

void WebViewPage::Navigate(const std::string& url) {
    const QUrl target = QUrl::fromEncoded(QByteArray::fromStdString(url), QUrl::StrictMode);
    if (!target.isValid()) {
        throw SystemError("Invalid URL " + url);
    }
    EnsureView();
    view_->load(target);
}

std::string WebViewPage::PageText() {
    return snapshot_;
}

std::string WebViewPage::Location() {
    return view_ ? view_->url().toEncoded().toStdString() : std::string();
}

QWebEngineView* WebViewPage::View() const {
    return view_;
}

void WebViewPage::RequestSnapshot() {
    if (!view_) {
        return;
    }
    const std::uint64_t ticket = ++asked_;
    QPointer<WebViewPage> self(this);
    view_->page()->runJavaScript(QStringLiteral("document.body ? document.body.innerText : ''"),
                                 [self, ticket](const QVariant& result) {
                                     // Answers come in order; a late one never replaces a newer one.
                                     if (!self || ticket <= self->applied_) {
                                         return;
                                     }
                                     self->applied_ = ticket;
                                     self->snapshot_ = PageTextFromBrowser(result.toString());
                                 });
}

}  // namespace tavrisk::app
