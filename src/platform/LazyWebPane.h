#pragma once

#include "platform/WebPane.h"

namespace platform {

// A pane whose web engine is loaded when the pane is first used: until its first
// Navigate it is an empty page, and the program has not even loaded the web engine's
// libraries (loading them, and setting up the graphics context the engine shares, takes
// longer than showing the whole window). Then it holds the engine's own pane, which
// fills it, and passes every call and event through.
class LazyWebPane : public WebPane {
    Q_OBJECT
public:
    LazyWebPane(bool fileViewer, QWidget* parent);

    void Navigate(const QString& address) override;
    void Stop() override;
    bool GoBack() override;
    bool GoForward() override;
    QString LocationURL() const override;

    // The engine's pane, or null while this one has never navigated (or the engine
    // could not be loaded).
    WebPane* inner() const { return inner_; }

private:
    const bool fileViewer_;
    WebPane* inner_ = nullptr;
};

class LazyWebPaneFactory : public WebPaneFactory {
public:
    WebPane* create(QWidget* parent) override { return new LazyWebPane(false, parent); }
    WebPane* createFileViewer(QWidget* parent) override { return new LazyWebPane(true, parent); }
};

// What every pane that holds an engine's view does first: it looks like an empty page
// until the view is made, and the view, once made, fills it.
void prepareEmptyPane(WebPane* pane);

// The factory of the web engine's panes: from this process when it holds them (a test
// linked with them), otherwise from the library beside the program, loaded on the first
// call. Null when neither is there.
WebPaneFactory* webEngineFactory();

} // namespace platform
