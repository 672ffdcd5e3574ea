#pragma once
// Creating the saver's view in a host window, in the order the view expects.
#include <memory>

#include "app/command_line.h"
#include "front/korvel3d_ss_view.h"
#include "platform/host_window.h"

// The view over the whole window, set up with the stored preferences and the
// command line's overrides. Nothing when the view cannot be made at all; a view
// whose OpenGL view failed (glView none) is returned blank, as the saver does.
std::unique_ptr<Korvel3DSSView> MakeSaverView(HostWindow& window, const CommandLine& line);
