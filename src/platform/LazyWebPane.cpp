#include "platform/LazyWebPane.h"

#include <QCoreApplication>
#include <QLayout>
#include <QLibrary>
#include <QOpenGLContext>
#include <QPalette>
#include <QVBoxLayout>
#include <dlfcn.h>

// Qt's own hook for the context that every OpenGL context of the program shares; the
// web engine needs one and otherwise asks for it to be made when the application starts.
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);

namespace platform {

namespace {
constexpr char kFactorySymbol[] = "orvikWebEngineFactory";
using FactoryFunction = WebPaneFactory* (*)();
} // namespace

WebPaneFactory* webEngineFactory() {
    static WebPaneFactory* factory = [] {
        if (!QOpenGLContext::globalShareContext()) {
            auto* shared = new QOpenGLContext(QCoreApplication::instance());
            shared->create();
            qt_gl_set_global_share_context(shared);
        }
        auto make = reinterpret_cast<FactoryFunction>(::dlsym(RTLD_DEFAULT, kFactorySymbol));
        if (!make) {
            QLibrary library(QCoreApplication::applicationDirPath() + QStringLiteral("/orvik-webengine.so"));
            make = reinterpret_cast<FactoryFunction>(library.resolve(kFactorySymbol)); // stays loaded
        }
        return make ? make() : nullptr;
    }();
    return factory;
}

void prepareEmptyPane(WebPane* pane) {
    pane->setAutoFillBackground(true);
    QPalette blank = pane->palette();
    blank.setColor(QPalette::Window, blank.color(QPalette::Base));
    pane->setPalette(blank);
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
}

LazyWebPane::LazyWebPane(bool fileViewer, QWidget* parent) : WebPane(parent), fileViewer_(fileViewer) {
    prepareEmptyPane(this); // until the engine's pane fills it
}

void LazyWebPane::Navigate(const QString& address) {
    if (!inner_) {
        WebPaneFactory* factory = webEngineFactory();
        if (!factory) return;
        inner_ = fileViewer_ ? factory->createFileViewer(this) : factory->create(this);
        layout()->addWidget(inner_);
        connect(inner_, &WebPane::BeforeNavigate2, this, &WebPane::BeforeNavigate2);
        connect(inner_, &WebPane::ProgressChange, this, &WebPane::ProgressChange);
    }
    inner_->Navigate(address);
}

void LazyWebPane::Stop() {
    if (inner_) inner_->Stop();
}

bool LazyWebPane::GoBack() {
    return inner_ && inner_->GoBack();
}

bool LazyWebPane::GoForward() {
    return inner_ && inner_->GoForward();
}

QString LazyWebPane::LocationURL() const {
    return inner_ ? inner_->LocationURL() : QString();
}

} // namespace platform
