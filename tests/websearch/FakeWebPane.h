#pragma once

#include "platform/WebPane.h"

#include <QStringList>

#include <memory>

// A scripted pane without a web engine. Every call is written to a log shared by all
// panes of one factory ("WB4 Navigate <address>", "WB2 Stop", "WB3 GoBack", ...), so
// that tests see which pane was asked what, in which order. The location and the
// history depth are set by the test; events are raised by the test.
class FakeWebPane : public platform::WebPane {
    Q_OBJECT
public:
    FakeWebPane(std::shared_ptr<QStringList> log, QWidget* parent) : WebPane(parent), log_(std::move(log)) {}

    void Navigate(const QString& address) override {
        record(QStringLiteral("Navigate ") + address);
        location = address;
    }
    void Stop() override { record(QStringLiteral("Stop")); }
    bool GoBack() override {
        record(QStringLiteral("GoBack"));
        if (backPages == 0) return false;
        --backPages;
        return true;
    }
    bool GoForward() override {
        record(QStringLiteral("GoForward"));
        if (forwardPages == 0) return false;
        --forwardPages;
        return true;
    }
    QString LocationURL() const override {
        const_cast<FakeWebPane*>(this)->record(QStringLiteral("LocationURL"));
        return location;
    }

    void raiseBeforeNavigate2(const QString& address) { emit BeforeNavigate2(address); }
    void raiseProgressChange(int progress, int progressMax) { emit ProgressChange(progress, progressMax); }

    QString location;
    int backPages = 0;
    int forwardPages = 0;

private:
    void record(const QString& what) { log_->append(objectName() + QLatin1Char(' ') + what); }
    std::shared_ptr<QStringList> log_;
};

class FakeWebPaneFactory : public platform::WebPaneFactory {
public:
    platform::WebPane* create(QWidget* parent) override { return new FakeWebPane(log, parent); }
    std::shared_ptr<QStringList> log = std::make_shared<QStringList>();
};
