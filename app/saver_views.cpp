#include "app/saver_views.h"

std::unique_ptr<Korvel3DSSView> MakeSaverView(HostWindow& window, const CommandLine& line) {
    auto view = std::make_unique<Korvel3DSSView>();
    // The window first: the view's OpenGL view asks it for a context during set-up.
    view->setWindow(&window);
    if (!line.overrides.empty()) {
        const CommandLine overrides = line;
        view->setSettingsOverride(
            [overrides](bool& mainMonitorOnly, SETTINGS& settings) { overrides.applyOverrides(mainMonitorOnly, settings); });
    }
    if (!view->initWithFrame(window.contentBounds(), line.preview)) return nullptr;
    return view;
}
