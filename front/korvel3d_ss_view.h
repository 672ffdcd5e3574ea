#pragma once
// The screen-saver view the host creates for every display: an OpenGL view
// over its whole area, the user's settings, and the main-display rule.
#include <functional>
#include <memory>

#include "front/basic_opengl_view.h"
#include "front/settings.h"
#include "platform/screen_saver_view.h"

// The configuration sheet's window and controls (platform/sheet_controls.h).
class SheetWindow;
class CheckBox;
class IntegerField;
class PopUpButton;
class ColorWell;
class InterfaceFile;

class Korvel3DSSView : public ScreenSaverView {
public:
    Korvel3DSSView();
    ~Korvel3DSSView() override;

    bool initWithFrame(Rect frame, bool isPreview) override;
    void startAnimation() override;
    void stopAnimation() override;
    void animateOneFrame() override;
    void drawRect(Rect dirty) override;
    bool hasConfigureSheet() override { return true; }

    // The host's "configureSheet" question: the sheet's window, loaded once and
    // filled from the settings (named apart from the member that holds it).
    SheetWindow* configureSheetWindow();
    void configureSheet_save(void* sender);
    void configureSheet_cancel(void* sender);
    void configureSheet_update(void* sender);
    void configureSheet_defaults(void* sender);
    void configureSheet_openwebsite(void* sender);
    void configureSheet_updatestates();

    // The display number of this view's window's screen (0 without one).
    int32_t ScreenNumber() const;
    // The main-display rule: false when MainMonitorOnly holds and this view is off the main screen.
    bool OnAllowedScreen() const;

    bool MainMonitorOnly = false;
    bool ThisScreenIsOn = false;
    BasicOpenGLView* glView = nullptr;
    Rect theRect;
    SETTINGS mySettings;

    SheetWindow* configureSheet = nullptr;
    CheckBox* o12HrClock = nullptr;
    PopUpButton* o2DMode = nullptr;
    PopUpButton* o3DMode = nullptr;
    ColorWell* oBGColour = nullptr;
    IntegerField* oClockSize = nullptr;
    ColorWell* oCodeColour = nullptr;
    CheckBox* oCodeRotation = nullptr;
    IntegerField* oFallSpeed = nullptr;
    CheckBox* oForwardMove = nullptr;
    IntegerField* oForwardSpeed = nullptr;
    IntegerField* oGlyphSize = nullptr;
    ColorWell* oHighlightColour = nullptr;
    IntegerField* oLineDensity = nullptr;
    CheckBox* oMainMonitorOnly = nullptr;
    CheckBox* oRandomMove = nullptr;
    CheckBox* oShadedLines = nullptr;
    CheckBox* oShowClock = nullptr;
    CheckBox* oSideMove = nullptr;

    // Not stored: the host's command-line overrides, applied after the
    // preferences are read (for this run only; never written back).
    using SettingsOverride = std::function<void(bool& mainMonitorOnly, SETTINGS& settings)>;
    void setSettingsOverride(SettingsOverride apply) { override_ = std::move(apply); }

private:
    // Owns the sheet's window and controls; shared_ptr so this header needs no GTK type.
    std::shared_ptr<InterfaceFile> interfaceFile_;
    SettingsOverride override_;
};
