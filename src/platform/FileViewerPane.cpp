#include "platform/FileViewerPane.h"

#include "platform/LazyWebPane.h"
#include "platform/PathCodec.h"
#include "platform/WebEnginePane.h"

#include <QLayout>
#include <QWebEngineDownloadRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>

namespace platform {

namespace {

// The path bytes of a file URL without a host; null for any other URL.
QByteArray localPathBytes(const QUrl& url) {
    if (url.scheme() != QLatin1String("file") || !url.host().isEmpty()) return QByteArray();
    return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
}

bool isTheFile(const QUrl& url, const QUrl& allowed) {
    const QByteArray path = localPathBytes(url);
    return !path.isNull() && path == localPathBytes(allowed);
}

// Lets through the requests for the file shown, and nothing else but the pane's own
// notice (a page of text, which only the pane itself can load in the main frame).
class OneFileInterceptor : public QWebEngineUrlRequestInterceptor {
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    QUrl allowed;
    void interceptRequest(QWebEngineUrlRequestInfo& info) override {
        const bool notice = info.resourceType() == QWebEngineUrlRequestInfo::ResourceTypeMainFrame &&
                            info.requestUrl().scheme() == QLatin1String("data");
        if (!notice && !isTheFile(info.requestUrl(), allowed)) info.block(true);
    }
};

QString escaped(const QString& text) {
    return text.toHtmlEscaped();
}

} // namespace

// The viewer's page: loads only what the pane asks for, in its main frame.
class ViewerPage : public QWebEnginePage {
public:
    explicit ViewerPage(QObject* parent) : QWebEnginePage(WebEnginePane::sharedProfile(), parent) {
        interceptor_ = new OneFileInterceptor(this);
        setUrlRequestInterceptor(interceptor_);
        QWebEngineSettings* s = settings();
        s->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
        s->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
        s->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
        s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
        s->setAttribute(QWebEngineSettings::AllowRunningInsecureContent, false);
        s->setAttribute(QWebEngineSettings::HyperlinkAuditingEnabled, false);
        s->setAttribute(QWebEngineSettings::DnsPrefetchEnabled, false);
        s->setAttribute(QWebEngineSettings::AutoLoadIconsForPage, false);
        s->setAttribute(QWebEngineSettings::NavigateOnDropEnabled, false);
        s->setAttribute(QWebEngineSettings::WebRTCPublicInterfacesOnly, true);
        s->setUnknownUrlSchemePolicy(QWebEngineSettings::DisallowUnknownUrlSchemes);
    }

    void allow(const QUrl& url) { interceptor_->allowed = url; }
    // The next navigation is the pane's own notice.
    void expectNotice() { noticePending_ = true; }

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) override {
        if (noticePending_ && isMainFrame && url.scheme() == QLatin1String("data")) {
            noticePending_ = false;
            return true;
        }
        return isMainFrame && isTheFile(url, interceptor_->allowed);
    }
    QWebEnginePage* createWindow(WebWindowType) override { return nullptr; }

private:
    OneFileInterceptor* interceptor_;
    bool noticePending_ = false;
};

FileViewerPane::FileViewerPane(QWidget* parent) : WebPane(parent) {
    prepareEmptyPane(this);
}

FileViewerPane::~FileViewerPane() = default;

QUrl FileViewerPane::fileUrl(const QString& path) {
    if (!path.startsWith(QLatin1Char('/'))) return QUrl();
    const QByteArray bytes = encodePath(path);
    return QUrl::fromEncoded("file://" + bytes.toPercentEncoding("/"), QUrl::StrictMode);
}

QWebEngineView* FileViewerPane::ensureView() {
    if (view_) return view_;
    view_ = new QWebEngineView(this);
    view_->setContextMenuPolicy(Qt::NoContextMenu); // no "save as", no "open in new window"
    layout()->addWidget(view_);
    freshPage();
    return view_;
}

// A page of its own for the next file; the one before, and whatever it was still loading, goes.
void FileViewerPane::freshPage() {
    ViewerPage* old = page_;
    page_ = new ViewerPage(view_);
    view_->setPage(page_);
    if (old) { // nothing it still says reaches the pane
        old->disconnect(this);
        old->deleteLater();
    }
    loading_ = false;
    WebEnginePane::forwardProgress(page_, this);
    connect(page_, &QWebEnginePage::loadStarted, this, [this] { loading_ = true; });
    connect(page_, &QWebEnginePage::loadFinished, this, [this] { loading_ = false; });
    // A type the engine cannot show arrives as a download, which the profile refuses for
    // every pane; here the pane says why it stays empty.
    connect(page_->profile(), &QWebEngineProfile::downloadRequested, page_,
            [this, page = page_](QWebEngineDownloadRequest* download) {
                if (download->page() != page) return;
                download->cancel();
                showNotice(QStringLiteral("This file cannot be shown here:"));
            });
}

void FileViewerPane::Navigate(const QString& address) {
    ensureView();
    // A file still loading (a very large one keeps the engine busy for seconds) gives way at once.
    if (loading_) freshPage();
    shownPath_ = address;
    const QUrl url = fileUrl(address);
    page_->allow(url);
    if (!url.isValid()) {
        showNotice(QStringLiteral("This is not the path of a file on this computer:"));
        return;
    }
    emit BeforeNavigate2(url.toString());
    view_->load(url);
}

void FileViewerPane::showNotice(const QString& text) {
    page_->allow(QUrl());
    page_->expectNotice();
    page_->setHtml(
        QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>%1</title></head>"
                       "<body style=\"font-family: sans-serif; margin: 2em\"><p>%1</p>"
                       "<p style=\"word-break: break-all\"><b>%2</b></p></body></html>")
            .arg(escaped(text), escaped(shownPath_)));
}

void FileViewerPane::Stop() {
    if (view_) view_->page()->triggerAction(QWebEnginePage::Stop);
}

QString FileViewerPane::LocationURL() const {
    return view_ ? view_->url().toString() : QString();
}

} // namespace platform
