#pragma once

#include "platform/WebPane.h"

class QWebEngineView;
class QWebEngineProfile;
class QWebEnginePage;

namespace platform {

// A pane backed by Qt WebEngine. Until its first Navigate the pane is a plain empty
// widget: the web view, and the web engine itself, are made only when a pane is used,
// so that they cost nothing at start.
class WebEnginePane : public WebPane {
    Q_OBJECT
public:
    explicit WebEnginePane(QWidget* parent = nullptr);
    ~WebEnginePane() override;

    // Loads QUrl::fromUserInput(address): web addresses, local paths and anything typed.
    void Navigate(const QString& address) override;
    void Stop() override;
    bool GoBack() override;
    bool GoForward() override;
    // The address of the page shown; empty before the first navigation.
    QString LocationURL() const override;

    // The web view, or null while the pane has never navigated.
    QWebEngineView* view() const { return view_; }

    // The one profile that every pane shares: off the record (nothing on disk), local
    // content without access to other local files, downloads refused. Made on first use.
    static QWebEngineProfile* sharedProfile();
    // Whether the shared profile (and with it the web engine) has been made.
    static bool engineStarted();
    // Passes a page's loading on as the pane's ProgressChange (-1 once it has finished).
    static void forwardProgress(QWebEnginePage* page, WebPane* pane);

private:
    QWebEngineView* ensureView();

    QWebEngineView* view_ = nullptr;
};

class WebEnginePaneFactory : public WebPaneFactory {
public:
    WebPane* create(QWidget* parent) override { return new WebEnginePane(parent); }
    WebPane* createFileViewer(QWidget* parent) override;
};

} // namespace platform
