#include "platform/sheet_controls.h"

#include <gtk/gtk.h>

#include <array>
#include <type_traits>
#include <utility>

#include "platform/bundle.h"

// ---- controls ----

void Control::setEnabled(bool enabled) { gtk_widget_set_sensitive(widget_, enabled); }

bool Control::isEnabled() const { return gtk_widget_get_sensitive(widget_); }

void CheckBox::setState(int state) {
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(widget()), state == 1);
}

int CheckBox::state() const { return gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(widget())) ? 1 : 0; }

void IntegerField::setIntValue(int value) { gtk_spin_button_set_value(GTK_SPIN_BUTTON(widget()), value); }

int IntegerField::intValue() const {
    // Typed text becomes the value only when confirmed; a value read now takes it, as a
    // user who types a number and presses Save expects.
    gtk_spin_button_update(GTK_SPIN_BUTTON(widget()));
    return gtk_spin_button_get_value_as_int(GTK_SPIN_BUTTON(widget()));
}

void IntegerField::setRange(int min, int max) { gtk_spin_button_set_range(GTK_SPIN_BUTTON(widget()), min, max); }

int IntegerField::minValue() const {
    double min = 0, max = 0;
    gtk_spin_button_get_range(GTK_SPIN_BUTTON(widget()), &min, &max);
    return static_cast<int>(min);
}

int IntegerField::maxValue() const {
    double min = 0, max = 0;
    gtk_spin_button_get_range(GTK_SPIN_BUTTON(widget()), &min, &max);
    return static_cast<int>(max);
}

int PopUpButton::numberOfItems() const {
    GtkTreeModel* model = gtk_combo_box_get_model(GTK_COMBO_BOX(widget()));
    return model ? gtk_tree_model_iter_n_children(model, nullptr) : 0;
}

void PopUpButton::selectItemAtIndex(int index) {
    gtk_combo_box_set_active(GTK_COMBO_BOX(widget()), index >= 0 && index < numberOfItems() ? index : -1);
}

int PopUpButton::indexOfSelectedItem() const { return gtk_combo_box_get_active(GTK_COMBO_BOX(widget())); }

void ColorWell::setColor(const Color& color) {
    const GdkRGBA rgba{color.redComponent, color.greenComponent, color.blueComponent, color.alphaComponent};
    gtk_color_chooser_set_rgba(GTK_COLOR_CHOOSER(widget()), &rgba);
}

Color ColorWell::color() const {
    GdkRGBA rgba{};
    gtk_color_chooser_get_rgba(GTK_COLOR_CHOOSER(widget()), &rgba);
    return Color::colorWithDeviceRed(rgba.red, rgba.green, rgba.blue, rgba.alpha);
}

// ---- the window ----

namespace {

gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer data) {
    static_cast<SheetWindow*>(data)->close();
    return TRUE;  // the window is kept for the next opening
}

}  // namespace

SheetWindow::SheetWindow(_GtkWidget* window) : window_(window) {
    deleteHandler_ = g_signal_connect(window_, "delete-event", G_CALLBACK(OnDelete), this);
}

// The interface file that made the window destroys it.
SheetWindow::~SheetWindow() { g_signal_handler_disconnect(window_, deleteHandler_); }

void SheetWindow::orderFront() { gtk_window_present(GTK_WINDOW(window_)); }

bool SheetWindow::isVisible() const { return gtk_widget_get_visible(window_); }

void SheetWindow::endSheet(Response response) {
    gtk_widget_hide(window_);
    if (endHandler_) endHandler_(response);
}

void SheetWindow::close() {
    if (closeAction_)
        closeAction_();
    else
        gtk_widget_hide(window_);
}

// ---- the interface file ----

namespace {

template <int I>
void FireAction(GtkWidget* sender, gpointer data) {
    static_cast<InterfaceFile*>(data)->fire(I, sender);
}

template <int... I>
std::array<GCallback, sizeof...(I)> Trampolines(std::integer_sequence<int, I...>) {
    return {G_CALLBACK(FireAction<I>)...};
}

struct Connecting {
    InterfaceFile* file;
    std::string missing;  // the first handler that names no action
};

void ConnectByName(GtkBuilder* builder, GObject* object, const gchar* signal, const gchar* handler,
                   GObject*, GConnectFlags flags, gpointer data) {
    auto* connecting = static_cast<Connecting*>(data);
    GCallback callback = gtk_builder_lookup_callback_symbol(builder, handler);
    if (!callback) {
        if (connecting->missing.empty()) connecting->missing = handler;
        return;
    }
    g_signal_connect_data(object, signal, callback, connecting->file, nullptr, flags);
}

void Fail(std::string* error, std::string why) {
    if (error) *error = std::move(why);
}

// Top-level windows stay alive until destroyed, beyond their builder.
void DestroyWindows(GtkBuilder* builder) {
    GSList* objects = gtk_builder_get_objects(builder);
    for (GSList* i = objects; i; i = i->next)
        if (GTK_IS_WINDOW(i->data) && !gtk_widget_get_parent(GTK_WIDGET(i->data))) gtk_widget_destroy(GTK_WIDGET(i->data));
    g_slist_free(objects);
}

}  // namespace

InterfaceFile::~InterfaceFile() {
    controls_.clear();
    windows_.clear();
    if (builder_) {
        DestroyWindows(builder_);
        g_object_unref(builder_);
    }
}

void InterfaceFile::fire(int index, void* sender) {
    if (index >= 0 && index < static_cast<int>(actions_.size()) && actions_[index]) actions_[index](sender);
}

void* InterfaceFile::object(const std::string& id) const {
    return builder_ ? gtk_builder_get_object(builder_, id.c_str()) : nullptr;
}

std::unique_ptr<InterfaceFile> InterfaceFile::loadNibNamed(const std::string& name, const Owner& owner,
                                                           std::string* error) {
    if (!gtk_init_check(nullptr, nullptr)) {
        Fail(error, "no display for the interface file " + name);
        return nullptr;
    }
    if (owner.actions.size() > static_cast<size_t>(kMaxActions)) {
        Fail(error, "too many actions for the interface file " + name);
        return nullptr;
    }
    const std::string path = pathForResource(name, "ui");
    if (path.empty()) {
        Fail(error, "the interface file " + name + ".ui is not installed");
        return nullptr;
    }

    std::unique_ptr<InterfaceFile> file(new InterfaceFile);
    file->path_ = path;
    file->builder_ = gtk_builder_new();
    GError* gerror = nullptr;
    if (!gtk_builder_add_from_file(file->builder_, path.c_str(), &gerror)) {
        Fail(error, path + ": " + (gerror ? gerror->message : "cannot be read"));
        g_clear_error(&gerror);
        return nullptr;
    }

    // Every outlet must be in the file with the right kind before any member is set.
    struct Found {
        const std::pair<std::string, Outlet>* outlet;
        GObject* object;
    };
    std::vector<Found> found;
    for (const auto& outlet : owner.outlets) {
        GObject* object = gtk_builder_get_object(file->builder_, outlet.first.c_str());
        const bool fits = object && std::visit(
            [object](auto member) {
                using Member = std::remove_pointer_t<std::remove_pointer_t<decltype(member)>>;
                if constexpr (std::is_same_v<Member, SheetWindow>) return GTK_IS_WINDOW(object) != 0;
                else if constexpr (std::is_same_v<Member, CheckBox>) return GTK_IS_TOGGLE_BUTTON(object) != 0;
                else if constexpr (std::is_same_v<Member, IntegerField>) return GTK_IS_SPIN_BUTTON(object) != 0;
                else if constexpr (std::is_same_v<Member, PopUpButton>) return GTK_IS_COMBO_BOX(object) != 0;
                else return GTK_IS_COLOR_CHOOSER(object) && GTK_IS_WIDGET(object);
            },
            outlet.second);
        if (!fits) {
            Fail(error, path + ": no object \"" + outlet.first + "\" of the kind its member holds");
            return nullptr;
        }
        found.push_back({&outlet, object});
    }

    static const auto trampolines = Trampolines(std::make_integer_sequence<int, kMaxActions>());
    for (size_t i = 0; i < owner.actions.size(); ++i) {
        gtk_builder_add_callback_symbol(file->builder_, owner.actions[i].first.c_str(), trampolines[i]);
        file->actions_.push_back(owner.actions[i].second);
    }
    Connecting connecting{file.get(), {}};
    gtk_builder_connect_signals_full(file->builder_, ConnectByName, &connecting);
    if (!connecting.missing.empty()) {
        Fail(error, path + ": the handler \"" + connecting.missing + "\" names no action");
        return nullptr;
    }

    for (const Found& f : found) {
        GtkWidget* widget = GTK_WIDGET(f.object);
        std::visit(
            [&](auto member) {
                using Member = std::remove_pointer_t<std::remove_pointer_t<decltype(member)>>;
                if constexpr (std::is_same_v<Member, SheetWindow>) {
                    file->windows_.push_back(std::make_unique<SheetWindow>(widget));
                    *member = file->windows_.back().get();
                } else {
                    auto control = std::make_unique<Member>(widget);
                    *member = control.get();
                    file->controls_.push_back(std::move(control));
                }
            },
            f.outlet->second);
    }
    return file;
}
