#include "platform/sheet_controls.h"

#include <gtest/gtest.h>

#include "tests/support/environment.h"
#include <gtk/gtk.h>

#include <functional>
#include <map>
#include <string>

#include "platform/bundle.h"

namespace {

// The configuration sheet's real interface file, loaded with an owner that records what fires.
class SheetControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_ENVIRONMENT(gtk_init_check(nullptr, nullptr), "no X display (run under xvfb-run): GTK cannot start");
        SetResourceSearchFolder(KORVEL_SOURCE_DIR "/assets");
    }
    void TearDown() override { SetResourceSearchFolder(""); }

    InterfaceFile::Owner SheetOwner() {
        InterfaceFile::Owner owner;
        owner.outlets = {{"configureSheet", &window},     {"o2DMode", &mode},           {"o3DMode", &unused},
                         {"oGlyphSize", &glyphSize},      {"oShowClock", &showClock},   {"oBGColour", &background}};
        for (const char* action : {"configureSheet_save", "configureSheet_cancel", "configureSheet_update",
                                   "configureSheet_defaults", "configureSheet_openwebsite"})
            owner.actions.push_back({action, [this, action](void* sender) {
                                         ++fired[action];
                                         senders[action] = sender;
                                     }});
        return owner;
    }

    GtkWidget* Widget(const InterfaceFile& file, const char* id) { return GTK_WIDGET(file.object(id)); }

    SheetWindow* window = nullptr;
    PopUpButton* mode = nullptr;
    PopUpButton* unused = nullptr;
    IntegerField* glyphSize = nullptr;
    CheckBox* showClock = nullptr;
    ColorWell* background = nullptr;
    std::map<std::string, int> fired;
    std::map<std::string, void*> senders;
};

TEST_F(SheetControlsTest, RealFileConnectsMembersByIdAndActionsByHandlerName) {
    std::string error;
    auto file = InterfaceFile::loadNibNamed("Korvel3DSS", SheetOwner(), &error);
    ASSERT_TRUE(file) << error;
    ASSERT_TRUE(window && mode && unused && glyphSize && showClock && background);
    EXPECT_EQ(mode->numberOfItems(), 3);
    // The unused pop-up is kept for its member but is not part of the window.
    EXPECT_EQ(gtk_widget_get_parent(unused->widget()), nullptr);

    // GTK's own signals reach the actions, with the sending control.
    gtk_button_clicked(GTK_BUTTON(Widget(*file, "saveButton")));
    EXPECT_EQ(fired["configureSheet_save"], 1);
    EXPECT_EQ(senders["configureSheet_save"], Widget(*file, "saveButton"));
    gtk_button_clicked(GTK_BUTTON(Widget(*file, "defaultsButton")));
    gtk_button_clicked(GTK_BUTTON(Widget(*file, "websiteButton")));
    EXPECT_EQ(fired["configureSheet_defaults"], 1);
    EXPECT_EQ(fired["configureSheet_openwebsite"], 1);

    // The controls whose change affects the enable rules send the update action.
    const int before = fired["configureSheet_update"];
    showClock->setState(showClock->state() == 1 ? 0 : 1);
    mode->selectItemAtIndex(mode->indexOfSelectedItem() == 1 ? 2 : 1);
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(Widget(*file, "oForwardMove")), TRUE);
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(Widget(*file, "oForwardMove")), FALSE);
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(Widget(*file, "oRandomMove")), TRUE);
    EXPECT_EQ(fired["configureSheet_update"] - before, 5);
    EXPECT_EQ(fired["configureSheet_cancel"], 0);
}

TEST_F(SheetControlsTest, EscapeCancelsAndClosingTheWindowRunsTheCloseAction) {
    auto file = InterfaceFile::loadNibNamed("Korvel3DSS", SheetOwner());
    ASSERT_TRUE(file);
    // Accelerators act only on a shown window.
    window->orderFront();
    while (gtk_events_pending()) gtk_main_iteration();
    EXPECT_TRUE(gtk_accel_groups_activate(G_OBJECT(window->widget()), GDK_KEY_Escape, GdkModifierType(0)));
    EXPECT_EQ(fired["configureSheet_cancel"], 1);

    int closes = 0;
    window->setCloseAction([&closes] { ++closes; });
    GdkEvent* event = gdk_event_new(GDK_DELETE);
    event->any.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(window->widget())));
    gtk_main_do_event(event);
    gdk_event_free(event);
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(GTK_IS_WINDOW(window->widget()));  // kept for the next opening

    int ends = 0;
    SheetWindow::Response last = SheetWindow::Response::Cancel;
    window->setEndHandler([&](SheetWindow::Response response) { ++ends, last = response; });
    window->endSheet(SheetWindow::Response::Save);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(last, SheetWindow::Response::Save);
}

TEST_F(SheetControlsTest, ControlsKeepTheirValuesWithinTheirKinds) {
    auto file = InterfaceFile::loadNibNamed("Korvel3DSS", SheetOwner());
    ASSERT_TRUE(file);

    glyphSize->setRange(5, 60);
    glyphSize->setIntValue(1000);
    EXPECT_EQ(glyphSize->intValue(), 60);
    glyphSize->setIntValue(-3);
    EXPECT_EQ(glyphSize->intValue(), 5);
    // Typed but not confirmed: the value read takes it, clamped like any other.
    gtk_entry_set_text(GTK_ENTRY(glyphSize->widget()), "42");
    EXPECT_EQ(glyphSize->intValue(), 42);
    gtk_entry_set_text(GTK_ENTRY(glyphSize->widget()), "99");
    EXPECT_EQ(glyphSize->intValue(), 60);
    EXPECT_EQ(glyphSize->minValue(), 5);
    EXPECT_EQ(glyphSize->maxValue(), 60);

    mode->selectItemAtIndex(2);
    EXPECT_EQ(mode->indexOfSelectedItem(), 2);
    mode->selectItemAtIndex(5);
    EXPECT_EQ(mode->indexOfSelectedItem(), -1);

    background->setColor(Color::colorWithDeviceRed(0.25, 0.5, 1.0, 1.0));
    const Color colour = background->color();
    EXPECT_DOUBLE_EQ(colour.redComponent, 0.25);
    EXPECT_DOUBLE_EQ(colour.greenComponent, 0.5);
    EXPECT_DOUBLE_EQ(colour.blueComponent, 1.0);
    EXPECT_DOUBLE_EQ(colour.alphaComponent, 1.0);

    showClock->setState(1);
    showClock->setEnabled(false);
    EXPECT_FALSE(showClock->isEnabled());
    EXPECT_EQ(showClock->state(), 1);  // disabling keeps the value
    showClock->setState(0);
    EXPECT_EQ(showClock->state(), 0);
    showClock->setEnabled(true);
    EXPECT_TRUE(showClock->isEnabled());
}

TEST_F(SheetControlsTest, AFailedLoadLeavesEveryMemberNone) {
    struct Case {
        const char* what;
        std::function<void(InterfaceFile::Owner&)> spoil;
        const char* name;
        const char* message;
    };
    CheckBox* wrongKind = nullptr;
    const Case cases[] = {
        {"missing file", [](InterfaceFile::Owner&) {}, "NoSuchSheet", "not installed"},
        {"absent object", [&](InterfaceFile::Owner& o) { o.outlets.push_back({"oNoSuchControl", &wrongKind}); },
         "Korvel3DSS", "oNoSuchControl"},
        {"object of another kind", [&](InterfaceFile::Owner& o) { o.outlets.push_back({"oGlyphSize", &wrongKind}); },
         "Korvel3DSS", "oGlyphSize"},
        {"handler without an action", [](InterfaceFile::Owner& o) { o.actions.pop_back(); }, "Korvel3DSS",
         "configureSheet_openwebsite"},
    };
    for (const Case& c : cases) {
        InterfaceFile::Owner owner = SheetOwner();
        c.spoil(owner);
        std::string error;
        EXPECT_FALSE(InterfaceFile::loadNibNamed(c.name, owner, &error)) << c.what;
        EXPECT_NE(error.find(c.message), std::string::npos) << c.what << ": " << error;
        EXPECT_TRUE(!window && !mode && !unused && !glyphSize && !showClock && !background && !wrongKind) << c.what;
    }
}

}  // namespace
