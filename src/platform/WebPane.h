#pragma once

#include <QString>
#include <QWidget>

namespace platform {

// One browser pane of the main window (the file viewer and the six engine panes).
// Every call returns at once; failures are skipped by the callers.
class WebPane : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    virtual void Navigate(const QString& address) = 0;
    virtual void Stop() = 0;
    // False when the history has no page in that direction.
    virtual bool GoBack() = 0;
    virtual bool GoForward() = 0;
    virtual QString LocationURL() const = 0;

signals:
    // The pane is about to load address (also for frames inside a page); never cancelled.
    void BeforeNavigate2(const QString& address);
    // Amount loaded and total; progress is -1 when the download is complete.
    void ProgressChange(int progress, int progressMax);
};

// Makes the panes of a window; tests that need no web engine use a blank pane.
class WebPaneFactory {
public:
    virtual ~WebPaneFactory() = default;
    virtual WebPane* create(QWidget* parent) = 0;
    // The file viewer's pane: it shows local files only, and what it shows can neither
    // read other files nor send anything anywhere.
    virtual WebPane* createFileViewer(QWidget* parent) { return create(parent); }
};

// A pane without a web engine: it shows nothing, loads nothing and raises no events.
class BlankWebPane : public WebPane {
    Q_OBJECT
public:
    using WebPane::WebPane;
    void Navigate(const QString&) override {}
    void Stop() override {}
    bool GoBack() override { return false; }
    bool GoForward() override { return false; }
    QString LocationURL() const override { return {}; }
};

class BlankWebPaneFactory : public WebPaneFactory {
public:
    WebPane* create(QWidget* parent) override { return new BlankWebPane(parent); }
};

} // namespace platform
