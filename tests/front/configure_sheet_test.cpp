// The configuration sheet on a live view: the real interface file, controls set
// as a user would (through GTK's own signals), and the actions' effects on the
// record, the store file and the running code field.
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <sys/stat.h>

#include <GL/gl.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "front/default_settings.h"
#include "front/korvel3d_ss_view.h"
#include "front/preference_table.h"
#include "front/preferences.h"
#include "platform/bundle.h"
#include "platform/offscreen_window.h"
#include "platform/screen_saver_defaults.h"
#include "platform/screens.h"
#include "platform/sheet_controls.h"
#include "tests/support/environment.h"
#include "tests/support/stepped_clock.h"
#include "tests/support/temp_folder.h"

namespace {

// One configuration folder for the whole process: the module's store is opened once per process.
const TempFolder& ConfigFolder() {
    static const TempFolder folder;
    return folder;
}

ScreenSaverDefaults& Store() { return ScreenSaverDefaults::defaultsForModuleWithName(kPreferencesModule); }

SETTINGS UserSettings() {
    SETTINGS s = Defaults().settings;
    s.MODE = 1;
    s.GLYPHSIZE = 22;
    s.TOT_NUM_LINES = 900;
    s.FALLSPEED = 120;
    s.FORWARDSPEED = 35;
    s.CLOCKSIZE = 150;
    s.FORWARDMOTION = false;
    s.SIDEWAYSMOTION = true;
    s.RANDFORWARDSPEED = false;
    s.SHOWCLOCK = true;
    s.CLOCK12HR = true;
    s.CAMROTATION = false;
    s.SHADED2D = false;
    s.Col1 = {0.25f, 0.5f, 0.75f, 0.0f};
    s.Col2 = {1.0f, 0.0f, 0.5f, 0.0f};
    s.BGCol = {0.0f, 0.0f, 0.25f, 0.0f};
    return s;
}

class ConfigureSheetTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("KORVEL3D_CONFIG_DIR", ConfigFolder().path().c_str(), 1);
        REQUIRE_ENVIRONMENT(gtk_init_check(nullptr, nullptr), "no X display (run under xvfb-run): the sheet is a GTK window");
        // The interface file and the archive beside the built program.
        SetResourceSearchFolder(KORVEL_BUILD_DIR "/app");
        window = std::make_unique<OffscreenWindow>(320, 200);
        ASSERT_TRUE(window->valid()) << window->error();
        main = MainScreen();
        ASSERT_TRUE(main) << "the X display lists no monitor";
        window->setScreen(main);
    }
    void TearDown() override { SetResourceSearchFolder(""); }

    // A view over a store holding these values.
    std::unique_ptr<Korvel3DSSView> Make(bool mainMonitorOnly, const SETTINGS& settings) {
        bool flag = false;
        SETTINGS read;
        ReadPreferences(Store(), flag, read);  // the version mark first
        EXPECT_TRUE(WritePreferences(Store(), mainMonitorOnly, settings));
        auto view = std::make_unique<Korvel3DSSView>();
        view->setWindow(window.get());
        EXPECT_TRUE(view->initWithFrame({0, 0, 320, 200}, false));
        return view;
    }

    static void Toggle(CheckBox* box, bool on) { gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(box->widget()), on); }
    static void Choose(PopUpButton* popUp, int item) { gtk_combo_box_set_active(GTK_COMBO_BOX(popUp->widget()), item); }
    static void Type(IntegerField* field, int value) {
        gtk_entry_set_text(GTK_ENTRY(field->widget()), std::to_string(value).c_str());
        gtk_widget_activate(field->widget());
    }
    static void Pick(ColorWell* well, double r, double g, double b) {
        const GdkRGBA rgba{r, g, b, 1.0};
        gtk_color_chooser_set_rgba(GTK_COLOR_CHOOSER(well->widget()), &rgba);
    }
    static void Press(const Korvel3DSSView& view, const char* button) {
        gtk_button_clicked(GTK_BUTTON(Button(view, button)));
    }
    static GtkWidget* Button(const Korvel3DSSView& view, const char* id) {
        // The buttons are no members; find them in the sheet's window by their label.
        struct Search {
            const char* label;
            GtkWidget* found;
        } search{id, nullptr};
        std::function<void(GtkWidget*)> walk = [&](GtkWidget* widget) {
            if (GTK_IS_BUTTON(widget) && !GTK_IS_TOGGLE_BUTTON(widget) && gtk_button_get_label(GTK_BUTTON(widget)) &&
                std::string(gtk_button_get_label(GTK_BUTTON(widget))) == search.label)
                search.found = widget;
            if (GTK_IS_CONTAINER(widget)) {
                GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
                for (GList* c = children; c; c = c->next) walk(GTK_WIDGET(c->data));
                g_list_free(children);
            }
        };
        walk(view.configureSheet->widget());
        return search.found;
    }
    void Tick(Korvel3DSSView& view, int frames = 1) {
        for (int i = 0; i < frames; ++i) {
            clock.advance(1 / 60.0);
            view.animateOneFrame();
        }
    }

    SteppedClock clock;
    std::unique_ptr<OffscreenWindow> window;
    std::optional<DisplayScreen> main;
};

TEST_F(ConfigureSheetTest, OpeningShowsTheRecordWithTheTablesRanges) {
    SETTINGS settings = UserSettings();
    settings.MODE = 5;  // any mode from 2 up is the random choice
    auto view = Make(true, settings);
    SheetWindow* sheet = view->configureSheetWindow();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(view->configureSheetWindow(), sheet) << "loaded once per view";

    EXPECT_EQ(view->oMainMonitorOnly->state(), 1);
    EXPECT_EQ(view->oGlyphSize->intValue(), 22);
    EXPECT_EQ(view->oLineDensity->intValue(), 900);
    EXPECT_EQ(view->oFallSpeed->intValue(), 120);
    EXPECT_EQ(view->oForwardSpeed->intValue(), 35);
    EXPECT_EQ(view->oClockSize->intValue(), 150);
    EXPECT_EQ(view->o2DMode->indexOfSelectedItem(), 2);
    const std::pair<CheckBox*, bool> boxes[] = {
        {view->oShowClock, true},  {view->o12HrClock, true},     {view->oForwardMove, false},
        {view->oSideMove, true},   {view->oRandomMove, false},   {view->oCodeRotation, false},
        {view->oShadedLines, false}};
    for (const auto& [box, on] : boxes) EXPECT_EQ(box->state(), on ? 1 : 0);
    const Color code = view->oCodeColour->color(), head = view->oHighlightColour->color(), bg = view->oBGColour->color();
    EXPECT_FLOAT_EQ(code.blueComponent, 0.75f);
    EXPECT_FLOAT_EQ(head.redComponent, 1.0f);
    EXPECT_FLOAT_EQ(bg.blueComponent, 0.25f);
    EXPECT_DOUBLE_EQ(bg.alphaComponent, 1.0);

    const std::pair<IntegerField*, const char*> ranges[] = {{view->oGlyphSize, "GlyphSize"},
                                                            {view->oLineDensity, "LineDensity"},
                                                            {view->oFallSpeed, "FallSpeed"},
                                                            {view->oForwardSpeed, "ForwardSpeed"},
                                                            {view->oClockSize, "ClockSize"}};
    for (const auto& [field, key] : ranges) {
        const PreferenceBounds offered = *FindPreference(key)->offered;
        EXPECT_EQ(field->minValue(), offered.min) << key;
        EXPECT_EQ(field->maxValue(), offered.max) << key;
    }
    EXPECT_EQ(view->o2DMode->numberOfItems(), FindPreference("3DMode")->offered->max + 1);
}

TEST_F(ConfigureSheetTest, EnableRulesFollowTheControlsNotTheRecord) {
    auto view = Make(false, Defaults().settings);
    ASSERT_NE(view->configureSheetWindow(), nullptr);
    struct Case {
        int mode;
        bool clock, forward, random;
        // Expected: clock size, 12-hour, shaded, forward, forward speed, random, side, rotation.
        bool clockSize, twelveHour, shaded, forwardMove, forwardSpeed, randomMove, side, rotation;
    };
    const Case cases[] = {
        {1, false, true, false, false, false, true, false, false, false, false, false},
        {1, true, true, true, true, true, true, false, false, false, false, false},
        {0, false, true, true, false, false, false, true, false, true, true, true},
        {0, true, true, false, true, true, false, true, true, true, true, true},
        {0, false, false, false, false, false, false, true, false, false, true, true},
        {0, false, false, true, false, false, false, true, false, false, true, true},
        {2, false, true, false, false, false, true, true, true, true, true, true},
        {2, true, true, true, true, true, true, true, false, true, true, true},
        {2, false, false, true, false, false, true, true, false, false, true, true},
    };
    for (const Case& c : cases) {
        // Set through GTK as a click would: the controls' own signals run the rules.
        Choose(view->o2DMode, c.mode);
        Toggle(view->oShowClock, c.clock);
        Toggle(view->oForwardMove, c.forward);
        Toggle(view->oRandomMove, c.random);
        const std::string what = "mode " + std::to_string(c.mode) + " clock " + std::to_string(c.clock) +
                                 " forward " + std::to_string(c.forward) + " random " + std::to_string(c.random);
        EXPECT_EQ(view->oClockSize->isEnabled(), c.clockSize) << what;
        EXPECT_EQ(view->o12HrClock->isEnabled(), c.twelveHour) << what;
        EXPECT_EQ(view->oShadedLines->isEnabled(), c.shaded) << what;
        EXPECT_EQ(view->oForwardMove->isEnabled(), c.forwardMove) << what;
        EXPECT_EQ(view->oForwardSpeed->isEnabled(), c.forwardSpeed) << what;
        EXPECT_EQ(view->oRandomMove->isEnabled(), c.randomMove) << what;
        EXPECT_EQ(view->oSideMove->isEnabled(), c.side) << what;
        EXPECT_EQ(view->oCodeRotation->isEnabled(), c.rotation) << what;
        // The rest are never disabled, and disabling keeps a value.
        for (Control* other : std::initializer_list<Control*>{
                 view->o2DMode, view->oShowClock, view->oGlyphSize, view->oLineDensity, view->oFallSpeed,
                 view->oMainMonitorOnly, view->oCodeColour, view->oHighlightColour, view->oBGColour})
            EXPECT_TRUE(other->isEnabled()) << what;
        EXPECT_EQ(view->oRandomMove->state(), c.random ? 1 : 0) << what;
    }
    EXPECT_EQ(view->mySettings, Defaults().settings) << "the rules read the controls only";
}

TEST_F(ConfigureSheetTest, DefaultsThenCancelChangeNeitherRecordNorStore) {
    auto view = Make(true, UserSettings());
    const SETTINGS before = view->mySettings;
    ASSERT_TRUE(Store().synchronize());
    const std::string file = ReadWholeFile(Store().path());
    ASSERT_NE(file.find("GlyphSize=22"), std::string::npos);

    SheetWindow* sheet = view->configureSheetWindow();
    ASSERT_NE(sheet, nullptr);
    sheet->orderFront();
    Press(*view, "Restore _Defaults");
    const DefaultPreferences defaults = Defaults();
    EXPECT_EQ(view->oMainMonitorOnly->state(), 0);
    EXPECT_EQ(view->oGlyphSize->intValue(), defaults.settings.GLYPHSIZE);
    EXPECT_EQ(view->oLineDensity->intValue(), defaults.settings.TOT_NUM_LINES);
    EXPECT_EQ(view->oClockSize->intValue(), static_cast<int>(defaults.settings.CLOCKSIZE));
    EXPECT_EQ(view->o2DMode->indexOfSelectedItem(), 0);
    EXPECT_EQ(view->oForwardMove->state(), 1);
    EXPECT_EQ(view->oShowClock->state(), 0);
    EXPECT_FLOAT_EQ(view->oCodeColour->color().greenComponent, 0.7f);
    EXPECT_FLOAT_EQ(view->oHighlightColour->color().blueComponent, 0.8f);
    EXPECT_FALSE(view->oShadedLines->isEnabled()) << "the rules follow the defaults' mode";
    EXPECT_TRUE(view->oForwardMove->isEnabled());
    EXPECT_EQ(view->mySettings, before);

    Press(*view, "_Cancel");
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(view->mySettings, before);
    EXPECT_TRUE(view->MainMonitorOnly);
    EXPECT_EQ(ReadWholeFile(Store().path()), file);

    // The next opening shows the old values again.
    ASSERT_EQ(view->configureSheetWindow(), sheet);
    EXPECT_EQ(view->oGlyphSize->intValue(), 22);
    EXPECT_EQ(view->oMainMonitorOnly->state(), 1);
    EXPECT_EQ(view->o2DMode->indexOfSelectedItem(), 1);
}

TEST_F(ConfigureSheetTest, SaveWritesEveryKeyButTheVersionAndRebuildsTheField) {
    auto view = Make(false, Defaults().settings);
    SSMAIN* driver = view->glView->ssMain;
    view->startAnimation();
    Tick(*view, 30);
    ASSERT_GT(driver->CODE->LIVELINES, 0.0f);
    const double runningTime = driver->TOTALTIME;

    // The version mark is taken out of the file behind the store's back: a save that wrote it
    // would put it back.
    {
        std::string text = ReadWholeFile(Store().path());
        const size_t at = text.find("version=1.0\n");
        ASSERT_NE(at, std::string::npos);
        WriteWholeFile(Store().path(), text.erase(at, std::string("version=1.0\n").size()));
    }

    SheetWindow* sheet = view->configureSheetWindow();
    ASSERT_NE(sheet, nullptr);
    sheet->orderFront();
    Toggle(view->oMainMonitorOnly, false);
    Type(view->oGlyphSize, 40);
    Type(view->oLineDensity, 1200);
    Type(view->oFallSpeed, 150);
    Type(view->oForwardSpeed, 60);
    Type(view->oClockSize, 200);
    Choose(view->o2DMode, 1);
    Toggle(view->oForwardMove, false);
    Toggle(view->oSideMove, true);
    Toggle(view->oRandomMove, false);
    Toggle(view->oShowClock, true);
    Toggle(view->o12HrClock, true);
    Toggle(view->oCodeRotation, false);
    Toggle(view->oShadedLines, false);
    Pick(view->oCodeColour, 0.5, 0.25, 0.125);
    Pick(view->oHighlightColour, 1.0, 0.5, 0.0);
    Pick(view->oBGColour, 0.25, 0.0, 0.5);
    Press(*view, "_Save");

    EXPECT_FALSE(sheet->isVisible());
    const SETTINGS& s = view->mySettings;
    EXPECT_EQ(s.GLYPHSIZE, 40);
    EXPECT_EQ(s.MODE, 1u);
    EXPECT_EQ(s.Col1.a, 0.0f) << "alphas are left alone";

    ScreenSaverDefaults onDisk(Store().path());
    EXPECT_FALSE(onDisk.stringForKey("version").has_value());
    const std::pair<const char*, int32_t> integers[] = {{"GlyphSize", 40}, {"LineDensity", 1200}, {"FallSpeed", 150},
                                                        {"ForwardSpeed", 60}, {"ClockSize", 200}, {"3DMode", 1}};
    for (const auto& [key, value] : integers) EXPECT_EQ(onDisk.integerForKey(key), value) << key;
    const std::pair<const char*, bool> booleans[] = {
        {"MainMonitorOnly", false}, {"MoveForward", false}, {"MoveSideways", true}, {"RandomForward", false},
        {"ShowClock", true},        {"Clock12Hr", true},    {"CamRotation", false}, {"Shaded2D", false}};
    for (const auto& [key, value] : booleans) EXPECT_EQ(onDisk.boolForKey(key), value) << key;
    const std::pair<const char*, float> floats[] = {{"Col1R", 0.5f},   {"Col1G", 0.25f},  {"Col1B", 0.125f},
                                                    {"Col2R", 1.0f},   {"Col2G", 0.5f},   {"Col2B", 0.0f},
                                                    {"BGColR", 0.25f}, {"BGColG", 0.0f},  {"BGColB", 0.5f}};
    for (const auto& [key, value] : floats) EXPECT_FLOAT_EQ(onDisk.floatForKey(key), value) << key;

    // A new field from the saved settings; the driver's time carries on.
    KORVELCODE* code = driver->CODE;
    ASSERT_NE(code, nullptr);
    EXPECT_EQ(code->LIVELINES, 0.0f);
    EXPECT_EQ(code->GLYPHSIZE, 40);
    EXPECT_EQ(code->TOT_NUM_LINES, 1200);
    EXPECT_TRUE(code->IS2D);
    EXPECT_EQ(code->GLYPHTEX, driver->TEXTURES[0].glName);
    EXPECT_NE(code->GLYPHTEX, 0u);
    EXPECT_EQ(driver->WIDTH, 320);
    EXPECT_EQ(driver->HEIGHT, 200);
    EXPECT_DOUBLE_EQ(driver->TOTALTIME, runningTime);
    GLfloat clear[4] = {};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_FLOAT_EQ(clear[0], 0.25f);
    EXPECT_FLOAT_EQ(clear[2], 0.5f);
    EXPECT_TRUE(view->ThisScreenIsOn);
}

TEST_F(ConfigureSheetTest, SavingTheRandomModeDrawsANewChoice) {
    auto view = Make(false, Defaults().settings);
    ASSERT_NE(view->configureSheetWindow(), nullptr);
    Choose(view->o2DMode, 2);
    // The new field's camera draws three numbers, then the field draws its mode: replay them for
    // a few seeds of both parities.
    for (unsigned seed : {1u, 2u, 3u, 4u, 5u, 6u}) {
        srand(seed);
        for (int camera = 0; camera < 3; ++camera) rand();
        const bool flat = rand() & 1;
        srand(seed);
        Press(*view, "_Save");
        EXPECT_EQ(view->mySettings.MODE, 2u);
        EXPECT_EQ(view->glView->ssMain->CODE->IS2D, flat) << "seed " << seed;
        ASSERT_EQ(view->configureSheetWindow() != nullptr, true);
    }
}

TEST_F(ConfigureSheetTest, SaveAppliesTheMainDisplayRule) {
    DisplayScreen other = *main;
    other.number = main->number + 1;
    other.primary = false;

    // Cleared on a view that had stopped off the main display: it animates again.
    {
        window->setScreen(other);
        auto view = Make(true, Defaults().settings);
        view->startAnimation();
        Tick(*view);
        ASSERT_FALSE(view->isAnimating());
        ASSERT_NE(view->configureSheetWindow(), nullptr);
        Toggle(view->oMainMonitorOnly, false);
        Press(*view, "_Save");
        EXPECT_TRUE(view->ThisScreenIsOn);
        EXPECT_TRUE(view->isAnimating());
        const float before = view->glView->ssMain->CODE->LIVELINES;
        Tick(*view, 5);
        EXPECT_TRUE(view->isAnimating());
        EXPECT_GT(view->glView->ssMain->CODE->LIVELINES, before);
    }
    // Set on a view off the main display: its next tick stops it.
    {
        window->setScreen(other);
        auto view = Make(false, Defaults().settings);
        view->startAnimation();
        Tick(*view);
        ASSERT_TRUE(view->isAnimating());
        ASSERT_NE(view->configureSheetWindow(), nullptr);
        Toggle(view->oMainMonitorOnly, true);
        Press(*view, "_Save");
        EXPECT_FALSE(view->ThisScreenIsOn);
        EXPECT_TRUE(view->isAnimating()) << "stopped by its next tick, not by the save";
        const float lines = view->glView->ssMain->CODE->LIVELINES;
        Tick(*view);
        EXPECT_FALSE(view->isAnimating());
        EXPECT_EQ(view->glView->ssMain->CODE->LIVELINES, lines) << "the stopping tick animates nothing";
    }
    // Set on the view of the main display: it carries on.
    {
        window->setScreen(main);
        auto view = Make(false, Defaults().settings);
        view->startAnimation();
        ASSERT_NE(view->configureSheetWindow(), nullptr);
        Toggle(view->oMainMonitorOnly, true);
        Press(*view, "_Save");
        Tick(*view);
        EXPECT_TRUE(view->isAnimating());
    }
}

TEST_F(ConfigureSheetTest, TheWebsiteButtonStartsTheOpenerWithOurAddressAndKeepsTheSheet) {
    // A stand-in for the desktop's opener (a real one would start a browser): it records its arguments.
    TempFolder bin;
    const std::string record = bin / "arguments";
    WriteWholeFile(bin / "xdg-open", "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > " + record + ".part\n" +
                                         "mv " + record + ".part " + record + "\n");
    chmod((bin / "xdg-open").c_str(), 0755);
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", (bin.path() + ":" + path).c_str(), 1);

    auto view = Make(false, Defaults().settings);
    SheetWindow* sheet = view->configureSheetWindow();
    ASSERT_NE(sheet, nullptr);
    sheet->orderFront();
    Press(*view, "_Website");
    EXPECT_TRUE(sheet->isVisible());
    for (int i = 0; i < 500 && ReadWholeFile(record).empty(); ++i) g_usleep(10000);
    setenv("PATH", path.c_str(), 1);
    const std::string arguments = ReadWholeFile(record);
    EXPECT_EQ(arguments, "https://korvel3d.example.org/mac/korvel/\n") << "one argument, the address";
}

TEST_F(ConfigureSheetTest, WithoutTheInterfaceFileThereIsNoSheetUntilItIsFound) {
    auto view = Make(false, Defaults().settings);
    TempFolder empty;
    SetResourceSearchFolder(empty.path());
    ASSERT_EQ(pathForResource("Korvel3DSS", "ui"), "") << "an installed copy would be found";
    EXPECT_EQ(view->configureSheetWindow(), nullptr);
    EXPECT_EQ(view->oGlyphSize, nullptr);
    view->configureSheet_defaults(nullptr);  // with no controls these do nothing
    view->configureSheet_save(nullptr);
    view->configureSheet_cancel(nullptr);
    EXPECT_EQ(view->mySettings, Defaults().settings);
    SetResourceSearchFolder(KORVEL_BUILD_DIR "/app");
    EXPECT_NE(view->configureSheetWindow(), nullptr);
    EXPECT_NE(view->oGlyphSize, nullptr);
}

}  // namespace
