#pragma once
// The configuration sheet's window and controls: thin wrappers over GTK
// widgets that offer what the sheet relies on (states, integer values, the
// selected item, colours, enabling), and the interface file that creates
// them and connects them to their owner by name.
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <variant>
#include <vector>

struct _GtkWidget;
struct _GtkBuilder;

// A control of the sheet: every one can be enabled and disabled; disabling keeps its value.
class Control {
public:
    explicit Control(_GtkWidget* widget) : widget_(widget) {}
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    void setEnabled(bool enabled);
    bool isEnabled() const;
    // The GTK widget (for the host and for tests).
    _GtkWidget* widget() const { return widget_; }

private:
    _GtkWidget* widget_;
};

// A check box: state 1 is on, 0 off.
class CheckBox : public Control {
public:
    using Control::Control;
    void setState(int state);
    int state() const;
};

// A spin button holding a whole number; it keeps its value within its range.
class IntegerField : public Control {
public:
    using Control::Control;
    // A value outside the range is brought to its nearer end.
    void setIntValue(int value);
    // The value shown, taking any number the user has typed but not yet confirmed.
    int intValue() const;
    void setRange(int min, int max);
    int minValue() const;
    int maxValue() const;
};

// A pop-up menu of items; the selected item is known by its index.
class PopUpButton : public Control {
public:
    using Control::Control;
    // An index that names no item leaves no item selected.
    void selectItemAtIndex(int index);
    // -1 when no item is selected.
    int indexOfSelectedItem() const;
    int numberOfItems() const;
};

// A colour in device RGB, each component 0.0 to 1.0.
struct Color {
    double redComponent = 0.0;
    double greenComponent = 0.0;
    double blueComponent = 0.0;
    double alphaComponent = 1.0;
    static Color colorWithDeviceRed(double red, double green, double blue, double alpha) {
        return {red, green, blue, alpha};
    }
};

// A colour button; its colour is always RGB.
class ColorWell : public Control {
public:
    using Control::Control;
    void setColor(const Color& color);
    Color color() const;
};

// The sheet's window. Ending the sheet hides it (it is kept for the next
// opening) and tells the host.
class SheetWindow {
public:
    explicit SheetWindow(_GtkWidget* window);
    ~SheetWindow();
    SheetWindow(const SheetWindow&) = delete;
    SheetWindow& operator=(const SheetWindow&) = delete;

    enum class Response { Cancel = 0, Save = 1 };

    // Shows the window and raises it.
    void orderFront();
    bool isVisible() const;
    // The host's endSheet: hides the window, then calls the host's handler.
    void endSheet(Response response);
    void setEndHandler(std::function<void(Response)> handler) { endHandler_ = std::move(handler); }
    // What closing the window from the window manager does (the sheet's cancel); without it the
    // window only hides.
    void setCloseAction(std::function<void()> action) { closeAction_ = std::move(action); }
    void close();

    _GtkWidget* widget() const { return window_; }

private:
    _GtkWidget* window_;
    unsigned long deleteHandler_ = 0;
    std::function<void(Response)> endHandler_;
    std::function<void()> closeAction_;
};

// An interface file: the window and controls it describes, connected to the
// owner's members by object id and to the owner's actions by handler name.
class InterfaceFile {
public:
    // Where a control is to be stored: the owner's member of the control's kind.
    using Outlet = std::variant<SheetWindow**, CheckBox**, IntegerField**, PopUpButton**, ColorWell**>;
    using Action = std::function<void(void* sender)>;
    struct Owner {
        std::vector<std::pair<std::string, Outlet>> outlets;  // object id -> member
        std::vector<std::pair<std::string, Action>> actions;  // handler name -> action
    };

    ~InterfaceFile();
    InterfaceFile(const InterfaceFile&) = delete;
    InterfaceFile& operator=(const InterfaceFile&) = delete;

    // Loads `name`.ui found through pathForResource. Nothing, with every outlet left as it was,
    // when the file is missing or unreadable, when an outlet's object is absent or of another
    // kind, or when a handler in the file names no action; *error then says why.
    static std::unique_ptr<InterfaceFile> loadNibNamed(const std::string& name, const Owner& owner,
                                                       std::string* error = nullptr);

    // The file's object of this id (GObject*), or null.
    void* object(const std::string& id) const;
    const std::string& path() const { return path_; }

    // The most actions an owner can connect.
    static constexpr int kMaxActions = 12;
    void fire(int index, void* sender);

private:
    InterfaceFile() = default;

    _GtkBuilder* builder_ = nullptr;
    std::string path_;
    std::vector<std::unique_ptr<SheetWindow>> windows_;
    std::vector<std::unique_ptr<Control>> controls_;
    std::vector<Action> actions_;
};
