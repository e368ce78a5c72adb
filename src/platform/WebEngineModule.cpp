// The entry point of the web engine's library (orvik-webengine.so), which the program
// loads when a pane is first used.
#include "platform/WebEnginePane.h"

extern "C" Q_DECL_EXPORT platform::WebPaneFactory* orvikWebEngineFactory() {
    static platform::WebEnginePaneFactory factory;
    return &factory;
}
