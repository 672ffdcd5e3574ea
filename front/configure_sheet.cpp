// The configuration sheet of the screen-saver view: loading and filling its
// controls, the enable rules, and its actions (save, cancel, defaults, web page).
#include <algorithm>
#include <string>

#include "front/default_settings.h"
#include "front/korvel3d_ss_view.h"
#include "front/preference_table.h"
#include "front/preferences.h"
#include "platform/launcher.h"
#include "platform/log.h"
#include "platform/sheet_controls.h"

// The product's web page: a host name of our own; the path is the page's.
inline constexpr char kWebsiteAddress[] = "https://korvel3d.example.org/mac/korvel/";

namespace {

const PreferenceBounds& Offered(const char* key) { return *FindPreference(key)->offered; }

void OfferRange(IntegerField* field, const char* key) {
    const PreferenceBounds& range = Offered(key);
    field->setRange(range.min, range.max);
}

int State(bool on) { return on ? 1 : 0; }
bool On(const CheckBox* box) { return box->state() == 1; }

Color DeviceColour(const colour4d& colour) { return Color::colorWithDeviceRed(colour.r, colour.g, colour.b, 1.0); }

// Red, green and blue from the well; the record's alpha is left as it is.
void TakeColour(const ColorWell* well, colour4d& colour) {
    const Color chosen = well->color();
    colour.r = static_cast<float>(chosen.redComponent);
    colour.g = static_cast<float>(chosen.greenComponent);
    colour.b = static_cast<float>(chosen.blueComponent);
}

// The controls as one set of values: what fill and the defaults action both put in.
void FillControls(Korvel3DSSView& view, bool mainMonitorOnly, const SETTINGS& s) {
    view.oMainMonitorOnly->setState(State(mainMonitorOnly));
    view.oGlyphSize->setIntValue(s.GLYPHSIZE);
    view.oLineDensity->setIntValue(s.TOT_NUM_LINES);
    view.oForwardSpeed->setIntValue(s.FORWARDSPEED);
    view.oFallSpeed->setIntValue(s.FALLSPEED);
    view.oClockSize->setIntValue(static_cast<int>(std::min<uint32_t>(s.CLOCKSIZE, Offered("ClockSize").max)));
    // Every mode from 2 up means a random choice: it shows as the pop-up's last item.
    view.o2DMode->selectItemAtIndex(static_cast<int>(std::min<uint32_t>(s.MODE, Offered("3DMode").max)));
    view.oShowClock->setState(State(s.SHOWCLOCK));
    view.o12HrClock->setState(State(s.CLOCK12HR));
    view.oForwardMove->setState(State(s.FORWARDMOTION));
    view.oSideMove->setState(State(s.SIDEWAYSMOTION));
    view.oRandomMove->setState(State(s.RANDFORWARDSPEED));
    view.oCodeRotation->setState(State(s.CAMROTATION));
    view.oShadedLines->setState(State(s.SHADED2D));
    view.oCodeColour->setColor(DeviceColour(s.Col1));
    view.oHighlightColour->setColor(DeviceColour(s.Col2));
    view.oBGColour->setColor(DeviceColour(s.BGCol));
}

}  // namespace

SheetWindow* Korvel3DSSView::configureSheetWindow() {
    if (!configureSheet) {
        // The actions receive the sending control, which they ignore.
        InterfaceFile::Owner owner;
        owner.outlets = {
            {"configureSheet", &configureSheet},     {"o12HrClock", &o12HrClock},
            {"o2DMode", &o2DMode},                   {"o3DMode", &o3DMode},
            {"oBGColour", &oBGColour},               {"oClockSize", &oClockSize},
            {"oCodeColour", &oCodeColour},           {"oCodeRotation", &oCodeRotation},
            {"oFallSpeed", &oFallSpeed},             {"oForwardMove", &oForwardMove},
            {"oForwardSpeed", &oForwardSpeed},       {"oGlyphSize", &oGlyphSize},
            {"oHighlightColour", &oHighlightColour}, {"oLineDensity", &oLineDensity},
            {"oMainMonitorOnly", &oMainMonitorOnly}, {"oRandomMove", &oRandomMove},
            {"oShadedLines", &oShadedLines},         {"oShowClock", &oShowClock},
            {"oSideMove", &oSideMove},
        };
        owner.actions = {
            {"configureSheet_save", [this](void* sender) { configureSheet_save(sender); }},
            {"configureSheet_cancel", [this](void* sender) { configureSheet_cancel(sender); }},
            {"configureSheet_update", [this](void* sender) { configureSheet_update(sender); }},
            {"configureSheet_defaults", [this](void* sender) { configureSheet_defaults(sender); }},
            {"configureSheet_openwebsite", [this](void* sender) { configureSheet_openwebsite(sender); }},
        };
        std::string error;
        interfaceFile_ = InterfaceFile::loadNibNamed("Korvel3DSS", owner, &error);
        if (!interfaceFile_) {
            // No sheet this time; the next request tries again.
            NSLog("the configuration sheet cannot be loaded: %s", error.c_str());
            return nullptr;
        }
        // The spin buttons offer the preference table's ranges, whatever the file says.
        OfferRange(oGlyphSize, "GlyphSize");
        OfferRange(oLineDensity, "LineDensity");
        OfferRange(oFallSpeed, "FallSpeed");
        OfferRange(oForwardSpeed, "ForwardSpeed");
        OfferRange(oClockSize, "ClockSize");
        // Closing the window is a cancel.
        configureSheet->setCloseAction([this] { configureSheet_cancel(nullptr); });
    }
    FillControls(*this, MainMonitorOnly, mySettings);
    configureSheet_updatestates();
    return configureSheet;
}

void Korvel3DSSView::configureSheet_updatestates() {
    if (!configureSheet) return;
    const int mode = o2DMode->indexOfSelectedItem();
    const bool flat = mode == 1;
    const bool threeD = mode == 0;
    const bool clock = On(oShowClock);
    const bool forward = On(oForwardMove);

    oClockSize->setEnabled(clock);
    o12HrClock->setEnabled(clock);
    oShadedLines->setEnabled(!threeD);
    oForwardMove->setEnabled(!flat);
    oForwardSpeed->setEnabled(!flat && forward && !On(oRandomMove));
    oRandomMove->setEnabled(!flat && forward);
    oSideMove->setEnabled(!flat);
    oCodeRotation->setEnabled(!flat);
}

void Korvel3DSSView::configureSheet_update(void*) { configureSheet_updatestates(); }

void Korvel3DSSView::configureSheet_defaults(void*) {
    if (!configureSheet) return;
    const DefaultPreferences defaults = Defaults();
    FillControls(*this, defaults.MainMonitorOnly, defaults.settings);
    configureSheet_updatestates();
}

void Korvel3DSSView::configureSheet_cancel(void*) {
    if (configureSheet) configureSheet->endSheet(SheetWindow::Response::Cancel);
}

void Korvel3DSSView::configureSheet_openwebsite(void*) {
    // The desktop's opener, started directly (no shell); the sheet stays open.
    std::string error;
    if (!OpenAddress(kWebsiteAddress, &error)) NSLog("the web page cannot be opened: %s", error.c_str());
}

void Korvel3DSSView::configureSheet_save(void*) {
    if (!configureSheet) return;

    MainMonitorOnly = On(oMainMonitorOnly);
    SETTINGS& s = mySettings;
    s.GLYPHSIZE = oGlyphSize->intValue();
    s.TOT_NUM_LINES = oLineDensity->intValue();
    s.FALLSPEED = oFallSpeed->intValue();
    s.FORWARDSPEED = oForwardSpeed->intValue();
    s.CLOCKSIZE = static_cast<uint32_t>(oClockSize->intValue());
    // A pop-up with no item selected keeps the mode it had.
    if (o2DMode->indexOfSelectedItem() >= 0) s.MODE = static_cast<uint32_t>(o2DMode->indexOfSelectedItem());
    s.FORWARDMOTION = On(oForwardMove);
    s.SIDEWAYSMOTION = On(oSideMove);
    s.RANDFORWARDSPEED = On(oRandomMove);
    s.SHOWCLOCK = On(oShowClock);
    s.CLOCK12HR = On(o12HrClock);
    s.CAMROTATION = On(oCodeRotation);
    s.SHADED2D = On(oShadedLines);
    TakeColour(oCodeColour, s.Col1);
    TakeColour(oHighlightColour, s.Col2);
    TakeColour(oBGColour, s.BGCol);

    if (!WritePreferences(MainMonitorOnly, mySettings))
        NSLog("the settings could not be saved; they apply to this run only");

    if (glView && glView->ssMain && glView->ssMain->CODE) {
        const Rect area = bounds();
        SSMAIN* driver = glView->ssMain;
        if (OpenGLContext* context = glView->openGLContext()) context->makeCurrentContext();
        driver->DiscardCode();
        driver->CODE = new KORVELCODE();
        driver->SetSize(static_cast<int32_t>(area.width), static_cast<int32_t>(area.height));
        driver->CODE->Setup(&mySettings);
        driver->CODE->GLYPHTEX = driver->TEXTURES ? driver->TEXTURES[0].glName : 0;
        glView->prepareOpenGL();
    }

    if (!OnAllowedScreen()) ThisScreenIsOn = false;
    if (!ThisScreenIsOn && !MainMonitorOnly) {
        ThisScreenIsOn = true;
        startAnimation();
    }

    configureSheet->endSheet(SheetWindow::Response::Save);
}
