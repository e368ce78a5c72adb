#pragma once

#include "platform/WebPane.h"

#include <QUrl>

class QWebEngineView;

namespace platform {

class ViewerPage;

// The file viewer's pane, backed by Qt WebEngine like the engine panes but shut in: it
// shows one local file at a time and nothing else.
// - The address is a path of this computer; its bytes become the file URL, so names
//   that are not UTF-8 are shown too. Any other text is not loaded: the pane says so.
// - The page may load only that file: every other request (pictures, frames, scripts,
//   style sheets, links, other files, the network) is blocked, and scripts do not run.
// - A type the engine cannot show is not downloaded: the pane says it cannot be shown.
// Like the engine panes, the web view is made on the first Navigate.
class FileViewerPane : public WebPane {
    Q_OBJECT
public:
    explicit FileViewerPane(QWidget* parent = nullptr);
    ~FileViewerPane() override;

    void Navigate(const QString& address) override;
    void Stop() override;
    bool GoBack() override { return false; } // the viewer keeps no history of its own
    bool GoForward() override { return false; }
    QString LocationURL() const override;

    // The web view, or null while the pane has never navigated.
    QWebEngineView* view() const { return view_; }
    // The file URL a path stands for: its bytes, percent-encoded; invalid for a text that
    // is not an absolute path.
    static QUrl fileUrl(const QString& path);

private:
    QWebEngineView* ensureView();
    void freshPage();
    void showNotice(const QString& text);

    QWebEngineView* view_ = nullptr;
    ViewerPage* page_ = nullptr;
    QString shownPath_;
    bool loading_ = false;
};

} // namespace platform
