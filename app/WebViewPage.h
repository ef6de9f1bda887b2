#pragma once

#include "harvest/SearchRun.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <cstdint>
#include <string>

class QWebEngineView;
class QWidget;

namespace tavrisk::app {

// The web view of a search run (WebBrowser1): a QWebEngineView behind the
// run's page port.
//
// The engine starts only when the first page is requested: Navigate creates
// the view then, filling the host widget (or as a window of its own when
// there is no host).
//
// Qt hands out a page's text only asynchronously, while the run reads it
// synchronously at a tick. So the view keeps a snapshot of the shown
// document's body text (document.body.innerText), asked for again whenever
// the load progresses or finishes and every kRefreshMs while a page is shown;
// PageText returns that snapshot at once. It can lag the document by at most
// kRefreshMs plus one round trip to the page's renderer (a few milliseconds),
// and by nothing once the page has stopped changing. Line feeds become CR LF
// and the text is converted to GBK.
class WebViewPage : public QObject, public PageSource {
    Q_OBJECT

public:
    static constexpr int kRefreshMs = 100;

    explicit WebViewPage(QWidget* host, QObject* parent = nullptr);
    ~WebViewPage() override;

    // Starts loading url (ASCII) and returns at once. Raises an error for a
    // URL that cannot be loaded at all.
    void Navigate(const std::string& url) override;
    // The latest snapshot of the shown page's text (GBK, CR LF).
    std::string PageText() override;
    // The address of the document shown, after any redirection.
    std::string Location() override;

    // The view, once the first page has been requested.
    [[nodiscard]] QWebEngineView* View() const;
    // Grows with every snapshot taken (for tests waiting for a fresh one).
    [[nodiscard]] std::uint64_t Snapshots() const { return applied_; }

private:
    void EnsureView();
    void RequestSnapshot();

    QPointer<QWidget> host_;
    QPointer<QWebEngineView> view_;
    bool ownsView_ = false;
    QTimer refresh_;
    std::string snapshot_;
    std::uint64_t asked_ = 0;
    std::uint64_t applied_ = 0;
};

// Body text as the browser gives it -> the page text of a run: line feeds as
// CR LF, GBK bytes.
std::string PageTextFromBrowser(const QString& text);

}  // namespace tavrisk::app
