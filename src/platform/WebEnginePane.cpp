#include "platform/WebEnginePane.h"

#include "platform/FileViewerPane.h"
#include "platform/LazyWebPane.h"

#include <QCoreApplication>
#include <QLayout>
#include <QPointer>
#include <QWebEngineDownloadRequest>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace platform {

namespace {

QPointer<QWebEngineProfile> g_profile;

// The page of one pane: reports every navigation that is about to start, in any frame,
// and never refuses one.
class PanePage : public QWebEnginePage {
    Q_OBJECT
public:
    PanePage(QWebEngineProfile* profile, QObject* parent) : QWebEnginePage(profile, parent) {}

signals:
    void navigationRequested(const QUrl& url);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool) override {
        emit navigationRequested(url);
        return true;
    }
};

} // namespace

QWebEngineProfile* WebEnginePane::sharedProfile() {
    if (!g_profile) {
        // A profile without a storage name is off the record: no cookies, cache or
        // history on disk. It lives as long as the application, after every page.
        auto* profile = new QWebEngineProfile(QCoreApplication::instance());
        profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
        profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
        QWebEngineSettings* settings = profile->settings();
        // A local file shown in a pane must not read other local files or send them away.
        settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
        settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
        // Nothing is saved that the user did not ask for: downloads are refused.
        QObject::connect(profile, &QWebEngineProfile::downloadRequested, profile,
                         [](QWebEngineDownloadRequest* download) { download->cancel(); });
        g_profile = profile;
    }
    return g_profile;
}

bool WebEnginePane::engineStarted() {
    return !g_profile.isNull();
}

void WebEnginePane::forwardProgress(QWebEnginePage* page, WebPane* pane) {
    connect(page, &QWebEnginePage::loadProgress, pane,
            [pane](int percent) { emit pane->ProgressChange(percent, 100); });
    connect(page, &QWebEnginePage::loadFinished, pane, [pane](bool) { emit pane->ProgressChange(-1, 100); });
}

WebEnginePane::WebEnginePane(QWidget* parent) : WebPane(parent) {
    prepareEmptyPane(this);
}

WebEnginePane::~WebEnginePane() = default;

QWebEngineView* WebEnginePane::ensureView() {
    if (view_) return view_;
    auto* view = new QWebEngineView(this);
    auto* page = new PanePage(sharedProfile(), view);
    view->setPage(page);
    connect(page, &PanePage::navigationRequested, this,
            [this](const QUrl& url) { emit BeforeNavigate2(url.toString()); });
    forwardProgress(page, this);
    layout()->addWidget(view);
    view_ = view;
    return view_;
}

void WebEnginePane::Navigate(const QString& address) {
    ensureView()->load(QUrl::fromUserInput(address));
}

void WebEnginePane::Stop() {
    if (view_) view_->page()->triggerAction(QWebEnginePage::Stop);
}

bool WebEnginePane::GoBack() {
    if (!view_ || !view_->history()->canGoBack()) return false;
    view_->back();
    return true;
}

bool WebEnginePane::GoForward() {
    if (!view_ || !view_->history()->canGoForward()) return false;
    view_->forward();
    return true;
}

QString WebEnginePane::LocationURL() const {
    return view_ ? view_->url().toString() : QString();
}

WebPane* WebEnginePaneFactory::createFileViewer(QWidget* parent) {
    return new FileViewerPane(parent);
}

} // namespace platform

#include "WebEnginePane.moc"
