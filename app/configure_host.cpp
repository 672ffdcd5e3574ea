#include "app/configure_host.h"

#include <glib-unix.h>
#include <gtk/gtk.h>

#include <csignal>
#include <memory>
#include <string>

#include "app/hosts.h"
#include "app/saver_views.h"
#include "front/basic_opengl_view.h"
#include "front/korvel3d_ss_view.h"
#include "platform/display_services.h"
#include "platform/log.h"
#include "platform/run_loop.h"
#include "platform/saver_engine.h"
#include "platform/sheet_controls.h"
#include "platform/window_server.h"
#include "platform/x11_window.h"

namespace {

constexpr int kPreviewWidth = 480, kPreviewHeight = 360;
// The host polls its preview window and ticks the saver this often; the engine keeps
// the view's own animation interval.
constexpr guint kPollMilliseconds = 5;

struct Session {
    GMainLoop* loop = nullptr;
    WindowServer* server = nullptr;
    X11Window* window = nullptr;
    Korvel3DSSView* view = nullptr;
    SaverEngine engine;
};

void Reopen(Session& session) {
    if (SheetWindow* sheet = session.view->configureSheetWindow()) sheet->orderFront();
}

gboolean Poll(gpointer data) {
    Session& session = *static_cast<Session*>(data);
    session.server->dispatchEvents();
    for (const WindowEvent& event : session.window->takeEvents()) {
        const bool quit = event.kind == WindowEvent::Kind::Destroyed || event.kind == WindowEvent::Kind::Close ||
                          (event.kind == WindowEvent::Kind::Key && (event.key == "Escape" || event.key == "q"));
        if (quit) {
            g_main_loop_quit(session.loop);
            return G_SOURCE_REMOVE;
        }
        if (event.kind == WindowEvent::Kind::Button ||
            (event.kind == WindowEvent::Kind::Key && (event.key == "Return" || event.key == "space")))
            Reopen(session);
    }
    session.engine.tick();
    RunLoop::current().fireDueTimers();
    return G_SOURCE_CONTINUE;
}

gboolean Quit(gpointer data) {
    g_main_loop_quit(static_cast<Session*>(data)->loop);
    return G_SOURCE_CONTINUE;
}

}  // namespace

int RunConfigure(const CommandLine& line) {
    if (!gtk_init_check(nullptr, nullptr)) {
        const char* name = std::getenv("DISPLAY");
        return UsageError(std::string("cannot open the X display '") + (name ? name : "") +
                          "' for the settings sheet (set DISPLAY)");
    }
    std::unique_ptr<WindowServer> server = WindowServer::open();
    if (!server) return UsageError("cannot open the X display for the preview");

    // The preview pane's view: no overlay. The command line's overrides are left out, since
    // a save would write them into the store.
    CommandLine preview = line;
    preview.preview = true;
    preview.overrides.clear();
    const int width = line.width > 0 ? line.width : kPreviewWidth;
    const int height = line.height > 0 ? line.height : kPreviewHeight;

    {
        const std::unique_ptr<PixelFormat> format = BasicOpenGLView::basicPixelFormat();
        std::string error;
        std::unique_ptr<X11Window> window = X11Window::createTopLevel(*server, width, height, *format, &error);
        if (!window) {
            NSLog("%s", error.c_str());
            return 1;
        }
        std::unique_ptr<Korvel3DSSView> view = MakeSaverView(*window, preview);
        if (!view) {
            NSLog("could not make the saver's preview");
            return 1;
        }
        window->setContentView(view.get());
        window->show();

        Session session;
        session.server = server.get();
        session.window = window.get();
        session.view = view.get();
        session.engine.add(view.get(), "preview");

        SheetWindow* sheet = view->configureSheetWindow();
        if (!sheet) {
            NSLog("the settings sheet cannot be shown: is Korvel3DSS.ui installed?");
            return 1;
        }
        session.loop = g_main_loop_new(nullptr, FALSE);
        sheet->setEndHandler([&session](SheetWindow::Response response) {
            // After a save the preview shows the new settings and runs on.
            if (response == SheetWindow::Response::Cancel) g_main_loop_quit(session.loop);
        });
        // Beside the preview, which the window system places at the top left without a manager.
        gtk_window_move(GTK_WINDOW(sheet->widget()), width + 24, 0);
        sheet->orderFront();

        session.engine.startAnimation();
        g_timeout_add(kPollMilliseconds, Poll, &session);
        const guint interrupt = g_unix_signal_add(SIGINT, Quit, &session);
        const guint terminate = g_unix_signal_add(SIGTERM, Quit, &session);
        g_main_loop_run(session.loop);
        g_source_remove(interrupt);
        g_source_remove(terminate);
        g_source_remove_by_user_data(&session);
        g_main_loop_unref(session.loop);

        session.engine.stopAnimation();
        // The view before its window: its contexts draw into the window.
        view.reset();
        window.reset();
    }
    CloseDisplayServices();
    return 0;
}
